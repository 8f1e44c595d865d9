#include "AnimationPatcher.h"
#include "Artwork.h"
#include "CheckCommand.h"
#include "Contacts.h"
#include "Version.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <iostream>

namespace {

// The help page ships with the program, so the link works without a network.
std::string HelpPageAddress() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {programFolder.filePath("help/custom-ui-folder.html"),
                                     programFolder.filePath("../share/zorby/help/custom-ui-folder.html")}) {
        if (QFileInfo::exists(candidate)) {
            return QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath()).toString().toStdString();
        }
    }
    return std::string(zorby::contacts::kAuthorWebPage) + "help/custom-ui-folder.html";
}

} // namespace

// Zorby is started inside a custom UI folder and works on the files there. Each run ends after one
// command: "Patch!", "Restore", or closing the window. With arguments (--check, --help, --version) it
// prints its answer and ends without a window.
int main(int argc, char** argv) {
    if (const auto status = zorby::RunCommandLine({argv + 1, argv + argc}, std::cout, std::cerr)) {
        return *status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorby");
    QApplication::setApplicationVersion(zorby::version::kRecord);
    QApplication::setWindowIcon(zorby::ui::ApplicationIcon());
    // The About box may outlive nothing: the run ends with the main window or a command.
    QApplication::setQuitOnLastWindowClosed(false);

    zorby::ui::AnimationPatcher window(HelpPageAddress());
    if (window.Load() != zorby::Flow::Continue) {
        return 1;
    }
    QObject::connect(&window, &zorby::ui::AnimationPatcher::RunEnded, &app, &QCoreApplication::exit);
    window.show();
    return QApplication::exec();
}
