#include "app/mainwindow.h"

#include "app/dialogs.h"
#include "app/drivelist.h"
#include "app/folderdrop.h"
#include "app/folderlist.h"
#include "app/readernames.h"
#include "app/walkinputguard.h"
#include "grid/classicfont.h"
#include "grid/linkgrid.h"
#include "grid/twips.h"
#include "links/linktable.h"
#include "links/listedlink.h"
#include "output/writtenlist.h"
#include "places/pathsyntax.h"
#include "scan/favoriteswalk.h"
#include "scan/filesystem.h"
#include "texts/messages.h"
#include "texts/windowtexts.h"

#include <QApplication>

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace quillon {

namespace {

const QString ProgramTitle = QStringLiteral("Quillon");

// How often a long walk lets the window repaint.
constexpr int RepaintIntervalMs = 100;

} // namespace

WindowEnvironment WindowEnvironment::host(const FileSystem &fs)
{
    WindowEnvironment env;
    env.fileSystem = &fs;
    env.drives = hostDrives();
    env.profile = PlatformProfile::host();
    env.initialFolder = QDir::toNativeSeparators(QDir::currentPath());
    env.homeFolder = QDir::toNativeSeparators(QDir::homePath());
    return env;
}

MainWindow::MainWindow(Dialogs &dialogs, WindowEnvironment environment, QWidget *parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_environment(std::move(environment))
{
    Q_ASSERT(m_environment.fileSystem);
    installFontSubstitutes();
    layOut();
    nameControlsForReaders(*this);

    // The folder that is current when the window is created, as a classic folder list does.
    m_folders->setPath(m_environment.initialFolder);
    m_drives->showDriveOf(m_folders->path());

    connect(m_drives, &DriveList::driveChanged, this, &MainWindow::openChosenDrive);
    connect(m_folders, &FolderList::pathChanged, this, &MainWindow::startOverInOpenFolder);
    connect(m_folders, &FolderList::openFailed, this, &MainWindow::showUnexpectedError);
    connect(m_datOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseOutputKind(OutputKind::Dat);
    });
    connect(m_htmlOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseOutputKind(OutputKind::Html);
    });
    connect(m_generateButton, &QPushButton::clicked, this, &MainWindow::generate);
    connect(m_writeButton, &QPushButton::clicked, this, &MainWindow::writeToFile);
    connect(m_exitButton, &QPushButton::clicked, this, &MainWindow::endProgram);
    connect(m_grid, &LinkGrid::tickAsInListRequested, this, &MainWindow::tickAsInWrittenList);
    setAcceptDrops(true);

    openStartFolder();
}

MainWindow::~MainWindow() = default;

void MainWindow::place(QWidget *widget, double left, double top, double width, double height)
{
    const double dpi = logicalDpiX();
    widget->setGeometry(twipsToPixels(left, dpi), twipsToPixels(top, dpi),
                        twipsToPixels(width, dpi), twipsToPixels(height, dpi));
}

void MainWindow::layOut()
{
    setObjectName(QStringLiteral("Quillon"));
    setWindowTitle(ProgramTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/quillon-32.png")));
    QFont windowFont(windowFontFamily());
    windowFont.setPointSizeF(9.75);
    windowFont.setWeight(QFont::Normal);
    setFont(windowFont);

    const QFont controlFont = classicFont(8.25, false);

    m_grid = new LinkGrid(this);
    m_grid->setObjectName(QStringLiteral("UltraGrid"));
    place(m_grid, 120, 2880, 10095, 3015);

    m_outputFrame = new QGroupBox(tr("OutPut Options"), this);
    m_outputFrame->setObjectName(QStringLiteral("frmOutPutOptions"));
    m_outputFrame->setFont(controlFont);
    place(m_outputFrame, 9000, 1320, 1215, 855);

    // The option buttons belong to the window, shown above the frame that draws around them.
    const auto makeOption = [&](const QString &caption, const QString &name) {
        auto *option = new QRadioButton(caption, this);
        option->setObjectName(name);
        option->setFont(controlFont);
        option->raise();
        return option;
    };
    m_htmlOption = makeOption(tr(".HTML"), QStringLiteral("optOutPutType_1"));
    place(m_htmlOption, 9120, 1920, 975, 195);
    m_datOption = makeOption(tr(".DAT"), QStringLiteral("optOutPutType_0"));
    place(m_datOption, 9120, 1560, 735, 195);

    const auto makeButton = [&](const QString &caption, const QString &name) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setFont(controlFont);
        button->setAutoDefault(false);
        return button;
    };
    m_writeButton = makeButton(tr("&Write To File"), QStringLiteral("cmdWriteToFile"));
    place(m_writeButton, 9000, 720, 1215, 495);
    m_exitButton = makeButton(tr("E&xit"), QStringLiteral("cmdExit"));
    place(m_exitButton, 9000, 2280, 1215, 495);
    m_generateButton = makeButton(tr("&Generate"), QStringLiteral("cmdGenerate"));
    place(m_generateButton, 9000, 120, 1215, 495);

    m_folders = new FolderList(*m_environment.fileSystem, this);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setFont(controlFont);
    place(m_folders, 120, 840, 8775, 1890);

    m_drives = new DriveList(m_environment.drives,
                             PathSyntax(m_environment.fileSystem->separator()), this);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setFont(controlFont);
    place(m_drives, 120, 480, 8775, 315);

    m_caption = new QLabel(tr("Browse to your Favorites folder"), this);
    m_caption->setObjectName(QStringLiteral("Label1"));
    m_caption->setFont(classicFont(9.75, true));
    place(m_caption, 120, 120, 3255, 255);
    // A substitute font may set the caption wider than the classic one did; the label then
    // grows to the right, where nothing else sits, rather than cutting its text.
    m_caption->resize(std::max(m_caption->width(), m_caption->sizeHint().width()),
                      m_caption->height());

    // Keyboard order: drive list, folder list, Generate, Exit, Write To File, .HTML, .DAT, grid.
    const QList<QWidget *> order = {m_drives,      m_folders,    m_generateButton, m_exitButton,
                                    m_writeButton, m_htmlOption, m_datOption,      m_grid};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    m_caption->setFocusPolicy(Qt::NoFocus);
    m_outputFrame->setFocusPolicy(Qt::NoFocus);

    const double dpi = logicalDpiX();
    setFixedSize(twipsToPixels(10320, dpi), twipsToPixels(5970, dpi));
}

bool MainWindow::openFolder(const QString &path)
{
    QString error;
    if (m_folders->setPath(path, &error))
        return true;
    showUnexpectedError(error);
    return false;
}

void MainWindow::showUnexpectedError(const QString &description)
{
    m_dialogs.showMessage(this, description, ProgramTitle, Dialogs::Icon::Critical);
}

void MainWindow::openStartFolder()
{
    m_grid->setCaption(QString());

    // A start folder that does not exist (as on most machines today) must not stop the start:
    // the user's home folder, or failing that the root, is opened instead.
    QString unused;
    if (!m_folders->setPath(m_environment.profile.startFolder, &unused) &&
        !m_folders->setPath(m_environment.homeFolder, &unused))
        m_folders->setPath(PathSyntax(m_environment.fileSystem->separator()).fallbackRoot(),
                           &unused);
    m_drives->showDriveOf(m_folders->path());

    m_chosenPath = m_folders->path();
    showOpenFolder();
    m_writeButton->setEnabled(false);
    m_datOption->setChecked(true);
    m_links = std::make_shared<LinkTable>();
}

void MainWindow::openChosenDrive()
{
    if (!openFolder(m_drives->drive()))
        m_drives->showDriveOf(m_folders->path());
}

void MainWindow::startOverInOpenFolder()
{
    m_writeButton->setEnabled(false);
    m_links = std::make_shared<LinkTable>();
    m_grid->setDataSource(m_links);
    m_chosenPath = m_folders->path();
    m_drives->showDriveOf(m_folders->path());
    showOpenFolder();
}

void MainWindow::showOpenFolder()
{
    // The folder list highlights with a click but opens with a double-click; Generate says
    // which folder it walks.
    m_generateButton->setToolTip(tr("Walks %1").arg(m_folders->path()));
}

void MainWindow::chooseOutputKind(OutputKind kind)
{
    m_outputKind = kind;
    // Only the chosen option is a Tab stop, as in any option group; the arrows move between
    // them.
    m_datOption->setFocusPolicy(kind == OutputKind::Dat ? Qt::StrongFocus : Qt::ClickFocus);
    m_htmlOption->setFocusPolicy(kind == OutputKind::Dat ? Qt::ClickFocus : Qt::StrongFocus);
}

void MainWindow::generate()
{
    if (m_walking)
        return;
    m_links = std::make_shared<LinkTable>();
    if (m_environment.profile.isTooBroad(m_chosenPath)) {
        m_dialogs.showMessage(this, messages::TooBroad.translated(), ProgramTitle,
                              Dialogs::Icon::None);
        return;
    }
    m_grid->setDataSource(m_links);
    m_writeButton->setEnabled(true);
    m_chosenPath = m_folders->path() + m_environment.fileSystem->separator();
    walk();
}

void MainWindow::walk()
{
    m_walking = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LinkTableModel *model = m_grid->model();
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    bool stopped = false;
    {
        // The walk runs on this thread; now and then the grid takes the new rows and the
        // window repaints, while input is held back, except Esc, which stops the walk.
        WalkInputGuard input;
        walkFavorites(*m_environment.fileSystem, m_chosenPath, m_chosenPath.size(), *m_links,
                      [&](const WalkProgress &) {
                          if (sinceRepaint.elapsed() >= RepaintIntervalMs) {
                              model->syncRows();
                              QCoreApplication::processEvents();
                              sinceRepaint.restart();
                          }
                          stopped = input.stopRequested();
                          return !m_closeRequested && !stopped;
                      });
    }
    model->syncRows();
    QApplication::restoreOverrideCursor();
    m_walking = false;

    if (m_closeRequested) {
        close();
        return;
    }
    if (stopped) {
        m_grid->fitColumnsToText(font());
        m_dialogs.showMessage(this, messages::WalkStopped.translated().arg(m_links->recordCount()),
                              ProgramTitle, Dialogs::Icon::None);
    } else if (m_links->recordCount() == 0)
        m_dialogs.showMessage(this, messages::NothingFound.translated(), ProgramTitle,
                              Dialogs::Icon::None);
    else
        m_grid->fitColumnsToText(font());
}

void MainWindow::writeToFile()
{
    if (m_walking)
        return;
    const bool html = m_outputKind != OutputKind::Dat;
    int type = 0;
    const std::optional<QString> name = m_dialogs.askSaveFileNameAndType(
        this, tr("Save As"), html ? windowtexts::htmlTypes() : windowtexts::datTypes(), m_saveName,
        &type);
    if (!name || name->isEmpty())
        return;
    m_saveName = *name;
    const OutputKind kind =
        !html ? OutputKind::Dat : (type == 1 ? OutputKind::Bookmarks : OutputKind::Html);

    QString error;
    if (!saveLinkList(*name, *m_links, kind, &error)) {
        m_dialogs.showMessage(this, error, tr("Error"), Dialogs::Icon::Critical);
        return;
    }
    // Reported only once the file is safely in place.
    const auto ticked = std::ranges::count(m_links->records(), true, &LinkRecord::ticked);
    m_dialogs.showMessage(this, windowtexts::written(ticked, *name), tr("Success"),
                          Dialogs::Icon::None);
}

void MainWindow::tickAsInWrittenList()
{
    if (m_walking || !m_links || m_links->recordCount() == 0)
        return;
    const std::optional<QString> name = m_dialogs.askOpenFileName(
        this, tr("Tick As In A Written List"), windowtexts::writtenListTypes());
    if (!name || name->isEmpty())
        return;
    QString error;
    const auto links = loadWrittenList(*name, &error);
    if (!links) {
        m_dialogs.showMessage(this, error, tr("Error"), Dialogs::Icon::Critical);
        return;
    }
    const TicksFromList ticks = ticksFromList(*m_links, *links);
    m_grid->model()->setTickedRows(ticks.tickedRows);
    m_dialogs.showMessage(this,
                          windowtexts::tickedAsInList(ticks.tickedRows.size(),
                                                      m_links->recordCount(), ticks.linksNotFound,
                                                      links->size()),
                          ProgramTitle, Dialogs::Icon::None);
}

void MainWindow::endProgram()
{
    m_links.reset();
    Q_EMIT programEnded();
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A walk in progress cannot be unwound from inside its repaint; it stops at its next
    // report and the window closes then.
    if (m_walking) {
        m_closeRequested = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

std::optional<QString> MainWindow::takeDrop(QDropEvent *event) const
{
    // Nothing opens while a walk runs; the walk reads the open folder's path.
    if (m_walking) {
        event->ignore();
        return std::nullopt;
    }
    return takeFolderDrop(event, *m_environment.fileSystem);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    takeDrop(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    takeDrop(event);
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (const std::optional<QString> folder = takeDrop(event))
        openFolder(*folder);
}

} // namespace quillon
