#include "Art.h"

#include <fstream>
#include <iostream>

// Writes the program's icon file (app/Zorby.ico) from the emblem drawn in code.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zorby_make_icon PATH/TO/Zorby.ico\n";
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    const std::string icon = zorby::ui::IconFile({16, 32, 48});
    file.write(icon.data(), static_cast<std::streamsize>(icon.size()));
    return file.good() ? 0 : 1;
}
