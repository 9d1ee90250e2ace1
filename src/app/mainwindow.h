#pragma once

#include "app/backgroundjob.h"
#include "app/windowenvironment.h"
#include "output/linklistwriter.h"

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
class FolderList;
class JobStrip;
class LinkCheckCommands;
class LinkGrid;
class WalkJob;
class WindowSettings;

// The one window: drive and folder lists, Generate, Write To File, the output type, Exit and
// the grid of found links, with a strip that shows a running job and its Stop control. The
// controls carry the object names tests and readers know them by: Drive1, Dir1, cmdGenerate,
// cmdWriteToFile, cmdExit, optOutPutType_0 (.DAT), optOutPutType_1 (.HTML), frmOutPutOptions,
// Label1, UltraGrid and cmdStop.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(Dialogs &dialogs, WindowEnvironment environment, QWidget *parent = nullptr);
    ~MainWindow() override;

    // True while Generate's walk runs.
    bool isWalking() const;

public Q_SLOTS:
    // Starts a walk of the open folder, unless the folder is too broad; rows reach the grid as
    // they are found.
    void generate();
    // Asks for a file name and writes the ticked links there in the chosen kind.
    void writeToFile();
    // Opens a folder in the folder list; a folder that cannot be opened is reported.
    bool openFolder(const QString &path);
    void chooseOutputKind(OutputKind kind);
    // Binds a fresh, empty table for the folder now open; Write To File waits for Generate.
    void startOverInOpenFolder();
    // Ends the program; a running walk is stopped.
    void endProgram();
    // Asks for a list Quillon wrote before and ticks exactly the rows it names.
    void tickAsInWrittenList();

Q_SIGNALS:
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // A folder dropped from a file manager opens in the folder list; a file opens the folder
    // that holds it.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void layOut();
    void openStartFolder();
    void openChosenDrive();
    void showOpenFolder();
    void showUnexpectedError(const QString &description);
    std::optional<QString> takeDrop(QDropEvent *event) const;
    void endWalk(BackgroundJob::Outcome outcome);
    void setWalking(bool walking);
    // False when the user would rather keep the ticks changed by hand.
    bool mayDiscardTicks();
    void rememberWindow();
    QString outputOptionKey() const;
    void reportScriptLinksLeft(int count);

    Dialogs &m_dialogs;
    WindowEnvironment m_environment;
    std::unique_ptr<WindowSettings> m_settings;

    OutputKind m_outputKind = OutputKind::Dat;
    // The folder list's path, and that path with a separator added once Generate accepted it.
    QString m_chosenPath;

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
    JobStrip *m_jobStrip = nullptr;
    WalkJob *m_walk = nullptr;
    LinkCheckCommands *m_linkCheck = nullptr;

    bool m_closing = false;
    bool m_sizedForScreen = false;
};

} // namespace quillon
