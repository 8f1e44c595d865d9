#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

// The yardstick of bench/startup.sh: the least a Qt Widgets program shows, a caption, a button and a
// label, started the same way as Zorby. Runs until it is killed.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Nothing but a label and a button")));
    layout->addWidget(new QPushButton(QStringLiteral("OK")));
    window.show();
    return QApplication::exec();
}
