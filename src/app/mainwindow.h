#pragma once

#include "output/linklistwriter.h"
#include "scan/platformprofile.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QDropEvent;
class QGroupBox;
class QLabel;
class QMimeData;
class QPushButton;
class QRadioButton;

namespace quillon {

class Dialogs;
class DriveList;
class FileSystem;
class FolderList;
class LinkGrid;
class LinkTable;
struct LinkRecord;

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
// the grid of found links.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(Dialogs &dialogs, WindowEnvironment environment, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The chosen folder: the folder list's path, and that path with a separator added once
    // Generate accepted it.
    QString UserSelectedPath;

    // Replaces the current link table with a new, empty one, without showing it.
    void NewRecordset();

    const std::shared_ptr<LinkTable> &linkRecordset() const { return LinkRecordset; }
    OutputKind htmlOutput() const { return HtmlOutput; }
    QString dialogFilter() const { return cdb1.Filter; }
    bool isWalking() const { return m_walking; }

public Q_SLOTS:
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void optOutPutType_Click(qint16 Index);
    void cmdGenerate_Click();
    void cmdWriteToFile_Click();
    void cmdExit_Click();

Q_SIGNALS:
    // Exit was chosen: the program ends.
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
    bool openFolder(const QString &path);
    void showUnexpectedError(const QString &description);
    std::optional<QString> droppedFolder(const QMimeData *data) const;
    std::optional<QString> takeDrop(QDropEvent *event) const;

    void LoadFavorites(QString startFolder);
    void SizeGridColumns();
    void GridLayoutSetup();
    static std::optional<QColor> GridRowSetup(const LinkRecord &row, int column);

    Dialogs &m_dialogs;
    WindowEnvironment m_environment;

    std::shared_ptr<LinkTable> LinkRecordset;
    OutputKind HtmlOutput = OutputKind::Dat;

    // The save dialog's settings, kept between uses so the last confirmed name is offered again.
    struct SaveDialogSettings {
        QString DialogTitle = QStringLiteral("Save As");
        QString Filter;
        QString FileName;
    } cdb1;

    LinkGrid *UltraGrid = nullptr;
    std::array<QRadioButton *, 2> optOutPutType{};
    QGroupBox *frmOutPutOptions = nullptr;
    QPushButton *cmdWriteToFile = nullptr;
    QPushButton *cmdExit = nullptr;
    QPushButton *cmdGenerate = nullptr;
    FolderList *Dir1 = nullptr;
    DriveList *Drive1 = nullptr;
    QLabel *Label1 = nullptr;

    bool m_walking = false;
    bool m_closeRequested = false;
};

// Makes the classic fonts the window asks for resolve to metric-alike fonts of this machine.
void installFontSubstitutes();

} // namespace quillon
