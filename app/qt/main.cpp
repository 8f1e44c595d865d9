#include "AnimationPatcher.h"
#include "Artwork.h"
#include "CommandLine.h"
#include "Contacts.h"
#include "Platform.h"
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

// Zorby is started inside a custom UI folder, or given it ("Open with" on a folder), and works on the
// files there. Each run ends after one command: "Patch!", "Restore", or closing the window. With --check,
// --help or --version it prints its answer and ends without a window.
int main(int argc, char** argv) {
    const zorby::StartRequest start = zorby::RunCommandLine(
        {argv + 1, argv + argc}, zorby::platform::ProgramFolder(), std::cout, std::cerr);
    if (!start.window) {
        return start.status;
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
