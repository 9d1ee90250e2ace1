#pragma once

#include "output/linklistwriter.h"
#include "places/platformprofile.h"

#include <QWidget>

#include <memory>
#include <optional>

class QDropEvent;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quillon {

class Dialogs;
class DriveList;
class FileSystem;
class FolderList;
class LinkGrid;
class LinkTable;

// What the window needs of the machine it runs on; tests hand in a file system of their own.
struct WindowEnvironment {
    const FileSystem *fileSystem = nullptr;
    PlatformProfile profile;
    QList<Drive> drives;
    QString initialFolder; // the folder open in the folder list when the window is created
    QString homeFolder;    // opened at start-up when the start folder cannot be

    static WindowEnvironment host(const FileSystem &fs);
};

// The one window: drive and folder lists, Generate, Write To File, the output type, Exit and
// the grid of found links. The controls carry the object names tests and readers know them by:
// Drive1, Dir1, cmdGenerate, cmdWriteToFile, cmdExit, optOutPutType_0 (.DAT),
// optOutPutType_1 (.HTML), frmOutPutOptions, Label1 and UltraGrid.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(Dialogs &dialogs, WindowEnvironment environment, QWidget *parent = nullptr);
    ~MainWindow() override;

public Q_SLOTS:
    // Walks the open folder and shows the links found, unless the folder is too broad.
    void generate();
    // Asks for a file name and writes the ticked links there in the chosen kind.
    void writeToFile();
    // Opens a folder in the folder list; a folder that cannot be opened is reported.
    bool openFolder(const QString &path);
    void chooseOutputKind(OutputKind kind);
    // Binds a fresh, empty table for the folder now open; Write To File waits for Generate.
    void startOverInOpenFolder();
    // Lets go of the links and ends the program.
    void endProgram();
    // Asks for a list Quillon wrote before and ticks exactly the rows it names.
    void tickAsInWrittenList();

Q_SIGNALS:
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A folder dropped from a file manager opens in the folder list; a file opens the folder
    // that holds it.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void layOut();
    void place(QWidget *widget, double left, double top, double width, double height);
    void openStartFolder();
    void openChosenDrive();
    void walk();
    void showOpenFolder();
    void showUnexpectedError(const QString &description);
    std::optional<QString> takeDrop(QDropEvent *event) const;

    Dialogs &m_dialogs;
    WindowEnvironment m_environment;

    std::shared_ptr<LinkTable> m_links;
    OutputKind m_outputKind = OutputKind::Dat;
    // The folder list's path, and that path with a separator added once Generate accepted it.
    QString m_chosenPath;
    // The last confirmed file name, offered again by the next save dialog.
    QString m_saveName;

    LinkGrid *m_grid = nullptr;
    QRadioButton *m_datOption = nullptr;
    QRadioButton *m_htmlOption = nullptr;
    QGroupBox *m_outputFrame = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_exitButton = nullptr;
    QPushButton *m_generateButton = nullptr;
    FolderList *m_folders = nullptr;
    DriveList *m_drives = nullptr;
    QLabel *m_caption = nullptr;

    bool m_walking = false;
    bool m_closeRequested = false;
};

} // namespace quillon
