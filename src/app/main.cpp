#include "app/dialogs.h"
#include "app/mainwindow.h"
#include "app/userlanguage.h"
#include "app/windowsettings.h"
#include "places/drivesearch.h"
#include "scan/hostfilesystem.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

int main(int argc, char *argv[])
{
    if (quillon::isDriveHelperCall(argc, argv))
        return quillon::runDriveHelper(argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillon"));
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quillon.Quillon"));
    const quillon::UserLanguage language(QLocale::system());

    quillon::WindowSettings::keepQtStateWithOurs();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "Turns a folder tree of Internet shortcuts into a link "
                                        "list."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FOLDER"),
        QApplication::translate("main", "The folder to open; for a file, the folder that holds "
                                        "it."),
        QStringLiteral("[FOLDER]"));
    parser.process(app);

    const quillon::HostFileSystem fileSystem;
    quillon::QtDialogs dialogs;
    // The drives, found by this program run again as a helper, so that a hung mount leaves out
    // its place instead of holding up the start.
    constexpr std::chrono::seconds PlaceLimit{2};
    const quillon::DriveSearchResult found =
        quillon::findDrivesWithTimeLimit(QApplication::applicationFilePath(), PlaceLimit);
    quillon::WindowEnvironment environment =
        quillon::WindowEnvironment::host(fileSystem, found.drives);
    if (!parser.positionalArguments().isEmpty())
        environment.initialFolder = QDir::toNativeSeparators(
            QFileInfo(parser.positionalArguments().first()).absoluteFilePath());
    quillon::MainWindow window(dialogs, environment);
    QObject::connect(&window, &quillon::MainWindow::programEnded, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
