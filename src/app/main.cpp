#include "app/dialogs.h"
#include "app/mainwindow.h"
#include "app/userlanguage.h"
#include "scan/hostfilesystem.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quillon.Quillon"));
    const quillon::UserLanguage language(QLocale::system());

    const quillon::HostFileSystem fileSystem;
    quillon::QtDialogs dialogs;
    quillon::MainWindow window(dialogs, quillon::WindowEnvironment::host(fileSystem));
    QObject::connect(&window, &quillon::MainWindow::programEnded, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
