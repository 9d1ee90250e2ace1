#include "app/mainwindow.h"

#include "app/classiclayout.h"
#include "app/dialogs.h"
#include "app/drivelist.h"
#include "app/folderdrop.h"
#include "app/folderlist.h"
#include "app/jobstrip.h"
#include "app/linkcheckcommands.h"
#include "app/listfiles.h"
#include "app/readernames.h"
#include "app/walkjob.h"
#include "app/windowsettings.h"
#include "grid/classicfont.h"
#include "grid/linkgrid.h"
#include "grid/twips.h"
#include "links/linktable.h"
#include "places/pathsyntax.h"
#include "scan/filesystem.h"
#include "texts/messages.h"
#include "texts/windowtexts.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

namespace {

const QString ProgramTitle = QStringLiteral("Quillon");

} // namespace

MainWindow::MainWindow(Dialogs &dialogs, WindowEnvironment environment, QWidget *parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_environment(std::move(environment))
    , m_settings(std::make_unique<WindowSettings>(m_environment.settingsFile))
{
    Q_ASSERT(m_environment.fileSystem);
    installFontSubstitutes();
    m_walk = new WalkJob(*m_environment.fileSystem, this);
    layOut();
    nameControlsForReaders(*this);
    openStartFolder();
    m_linkCheck = new LinkCheckCommands(*m_grid, m_dialogs, *m_jobStrip, *m_walk,
                                        m_environment.linkCheck, this);
    // The rows stay as they are while their links are checked: no walk, no other folder.
    connect(m_linkCheck, &LinkCheckCommands::runningChanged, this, &MainWindow::setWalking);

    connect(m_drives, &DriveList::driveChanged, this, &MainWindow::openChosenDrive);
    connect(m_folders, &FolderList::pathChanged, this, &MainWindow::startOverInOpenFolder);
    connect(m_folders, &FolderList::openFailed, this, [this](const QString &description) {
        m_drives->showDriveOf(m_folders->path());
        showUnexpectedError(description);
    });
    m_folders->setLeaveCheck([this] { return mayDiscardTicks(); });
    // Generate would walk the folder still open, not the one being listed.
    connect(m_folders, &FolderList::listingChanged, m_generateButton,
            [this](bool listing) { m_generateButton->setEnabled(!listing && !isWalking()); });
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
    connect(m_grid, &LinkGrid::scriptLinksLeftUnticked, this, &MainWindow::reportScriptLinksLeft);
    connect(m_walk, &WalkJob::rowsFound, m_grid->model(), &LinkTableModel::appendRecords);
    connect(m_walk, &BackgroundJob::finished, this, &MainWindow::endWalk);
    setAcceptDrops(true);
}

MainWindow::~MainWindow() = default;

bool MainWindow::isWalking() const
{
    return m_walk->isRunning();
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
    using Anchor = ClassicLayout::Anchor;
    auto *layout = new ClassicLayout(this, {10320, 5970});

    m_caption = new QLabel(tr("Browse to your Favorites folder"), this);
    m_caption->setObjectName(QStringLiteral("Label1"));
    m_caption->setFont(classicFont(9.75, true));
    // A substitute font may set the caption wider than the classic one did; the label then
    // grows to the right, where nothing else sits, rather than cutting its text.
    const double captionWidth =
        std::max<double>(3255, pixelsToTwips(m_caption->sizeHint().width(), logicalDpiX()));
    layout->add(m_caption, {120, 120, captionWidth, 255}, Anchor::Left);

    m_drives = new DriveList(m_environment.drives,
                             PathSyntax(m_environment.fileSystem->separator()), this);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setFont(controlFont);
    layout->add(m_drives, {120, 480, 8775, 315}, Anchor::Width);

    m_folders = new FolderList(*m_environment.fileSystem, this);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setFont(controlFont);
    layout->add(m_folders, {120, 840, 8775, 1890}, Anchor::Width);

    const auto makeButton = [&](const QString &caption, const QString &name, QRectF place) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setFont(controlFont);
        button->setAutoDefault(false);
        layout->add(button, place, Anchor::Right);
        return button;
    };
    m_generateButton =
        makeButton(tr("&Generate"), QStringLiteral("cmdGenerate"), {9000, 120, 1215, 495});
    m_writeButton =
        makeButton(tr("&Write To File"), QStringLiteral("cmdWriteToFile"), {9000, 720, 1215, 495});

    m_outputFrame = new QGroupBox(tr("OutPut Options"), this);
    m_outputFrame->setObjectName(QStringLiteral("frmOutPutOptions"));
    m_outputFrame->setFont(controlFont);
    layout->add(m_outputFrame, {9000, 1320, 1215, 855}, Anchor::Right);
    // The options sit inside their frame, below its title, laid out by it so that neither
    // crosses its border at any font size.
    auto *options = new QVBoxLayout(m_outputFrame);
    options->setContentsMargins(twipsToPixels(120, logicalDpiX()), 0, 0, 0);
    options->setSpacing(0);
    const auto makeOption = [&](const QString &caption, const QString &name) {
        auto *option = new QRadioButton(caption, m_outputFrame);
        option->setObjectName(name);
        option->setFont(controlFont);
        options->addWidget(option);
        return option;
    };
    m_datOption = makeOption(tr(".DAT"), QStringLiteral("optOutPutType_0"));
    m_htmlOption = makeOption(tr(".HTML"), QStringLiteral("optOutPutType_1"));
    m_exitButton = makeButton(tr("E&xit"), QStringLiteral("cmdExit"), {9000, 2280, 1215, 495});

    m_grid = new LinkGrid(this);
    m_grid->setObjectName(QStringLiteral("UltraGrid"));
    layout->add(m_grid, {120, 2880, 10095, 3015}, Anchor::Fill);
    m_jobStrip = new JobStrip(this);
    m_jobStrip->follow(m_walk);
    layout->add(m_jobStrip, {}, Anchor::BelowFilling);
    // The lists keep room for a folder name, the grid for a few rows.
    layout->setSmallest(240, 96);

    // Keyboard order, as the controls read from the top left: drive list, folder list, then
    // the column of commands on the right from the top down, then the grid (and Stop, made
    // last, while a job runs).
    const QList<QWidget *> order = {m_drives,    m_folders,    m_generateButton, m_writeButton,
                                    m_datOption, m_htmlOption, m_exitButton,     m_grid};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    m_caption->setFocusPolicy(Qt::NoFocus);
    m_outputFrame->setFocusPolicy(Qt::NoFocus);
    resize(layout->sizeHint());
    layout->activate();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (std::exchange(m_sizedForScreen, true))
        return;
    // The size and place of last time; else the classic size, as far as the screen allows
    // (at twice the scale a small screen is narrower than the classic window).
    if (restoreGeometry(m_settings->geometry()))
        return;
    if (const QScreen *screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        const QSize frame = frameGeometry().size() - geometry().size();
        resize(size().boundedTo(room.size() - frame).expandedTo(minimumSize()));
    }
}

bool MainWindow::openFolder(const QString &path)
{
    if (!mayDiscardTicks())
        return false;
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
    // A folder that is gone is passed over quietly, unless it was asked for.
    for (const QString &folder : m_environment.startFolders(m_settings->openFolder())) {
        QString unused;
        if (m_folders->setPath(folder, &unused))
            break;
    }
    const PathSyntax syntax(m_environment.fileSystem->separator());
    const QString asked = syntax.normalized(m_environment.initialFolder);
    if (!asked.isEmpty() && asked != m_folders->path() &&
        syntax.parentOf(asked) != m_folders->path())
        showUnexpectedError(tr("Cannot open the folder \"%1\".").arg(asked));
    m_drives->showDriveOf(m_folders->path());
    m_chosenPath = m_folders->path();
    showOpenFolder();
    m_writeButton->setEnabled(false);
    const bool html = m_settings->outputOption() == u"html";
    (html ? m_htmlOption : m_datOption)->setChecked(true);
    chooseOutputKind(html ? OutputKind::Html : OutputKind::Dat);
}

void MainWindow::openChosenDrive()
{
    if (mayDiscardTicks())
        m_folders->open(m_drives->drive());
    else
        m_drives->showDriveOf(m_folders->path());
}

void MainWindow::startOverInOpenFolder()
{
    m_writeButton->setEnabled(false);
    m_grid->setDataSource();
    m_chosenPath = m_folders->path();
    m_drives->showDriveOf(m_folders->path());
    m_settings->setOpenFolder(m_folders->path());
    showOpenFolder();
}

void MainWindow::showOpenFolder()
{
    // The folder list highlights with a click but opens with a double-click; Generate says
    // which folder it walks.
    m_generateButton->setToolTip(tr("Walks %1").arg(m_folders->path()));
}

QString MainWindow::outputOptionKey() const
{
    return m_outputKind == OutputKind::Dat ? QStringLiteral("dat") : QStringLiteral("html");
}

void MainWindow::chooseOutputKind(OutputKind kind)
{
    m_outputKind = kind;
    m_settings->setOutputOption(outputOptionKey());
    // Only the chosen option is a Tab stop, as in any option group; the arrows move between
    // them.
    m_datOption->setFocusPolicy(kind == OutputKind::Dat ? Qt::StrongFocus : Qt::ClickFocus);
    m_htmlOption->setFocusPolicy(kind == OutputKind::Dat ? Qt::ClickFocus : Qt::StrongFocus);
}

bool MainWindow::mayDiscardTicks()
{
    const LinkTableModel *model = m_grid->model();
    return !model->ticksChanged() || model->rowCount() == 0 ||
           m_dialogs.askYesNo(this, tr("The ticks you changed will be lost. Go on?"), ProgramTitle);
}

void MainWindow::generate()
{
    if (isWalking() || m_folders->isListing())
        return;
    if (m_environment.profile.isTooBroad(m_chosenPath)) {
        m_dialogs.showMessage(this, messages::TooBroad.translated(), ProgramTitle, Dialogs::Icon::None);
        return;
    }
    if (!mayDiscardTicks())
        return;
    m_grid->setDataSource();
    m_chosenPath = m_folders->path() + m_environment.fileSystem->separator();
    m_closing = false;
    setWalking(true);
    m_walk->start(m_chosenPath, m_chosenPath.size());
}

void MainWindow::setWalking(bool walking)
{
    // The walk reads the open folder: it stays open meanwhile. The grid can be read and
    // ticked while its rows come in, but nothing is written from a list not yet whole.
    for (QWidget *control : {static_cast<QWidget *>(m_drives), static_cast<QWidget *>(m_folders),
                             static_cast<QWidget *>(m_generateButton)})
        control->setEnabled(!walking);
    m_writeButton->setEnabled(!walking);
}

void MainWindow::endWalk(BackgroundJob::Outcome outcome)
{
    setWalking(false);
    if (m_closing)
        return;
    const int found = m_grid->model()->rowCount();
    if (outcome == BackgroundJob::Outcome::Stopped) {
        m_grid->fitColumnsToText(font());
        m_dialogs.showMessage(this, messages::WalkStopped.translated().arg(found), ProgramTitle,
                              Dialogs::Icon::None);
    } else if (found == 0) {
        m_dialogs.showMessage(this, messages::NothingFound.translated(), ProgramTitle,
                              Dialogs::Icon::None);
    } else {
        m_grid->fitColumnsToText(font());
    }
}

void MainWindow::writeToFile()
{
    const LinkTable *table = m_grid->model()->table();
    if (isWalking() || !table)
        return;
    ListFiles(m_dialogs, *m_settings).writeToFile(this, *table, outputOptionKey());
}

void MainWindow::tickAsInWrittenList()
{
    LinkTableModel *model = m_grid->model();
    if (isWalking() || model->rowCount() == 0)
        return;
    const auto links = ListFiles(m_dialogs, *m_settings).readWrittenList(this);
    if (!links)
        return;
    const TicksFromList ticks = model->tickAsInList(*links);
    m_dialogs.showMessage(this,
                          windowtexts::tickedAsInList(ticks.tickedRows.size(), model->rowCount(),
                                                      ticks.linksNotFound, links->size()),
                          ProgramTitle, Dialogs::Icon::None);
}

void MainWindow::reportScriptLinksLeft(int count)
{
    m_dialogs.showMessage(this,
                          tr("%1 script links were left unticked: tick each one by hand to "
                             "publish it.")
                              .arg(count),
                          ProgramTitle, Dialogs::Icon::None);
}

void MainWindow::endProgram()
{
    Q_EMIT programEnded();
    close();
}

void MainWindow::rememberWindow()
{
    m_settings->setGeometry(saveGeometry());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A walk in progress stops at once; the window does not wait for its last rows.
    m_closing = true;
    m_walk->stop();
    m_linkCheck->stopQuietly();
    rememberWindow();
    QWidget::closeEvent(event);
}

std::optional<QString> MainWindow::takeDrop(QDropEvent *event) const
{
    // Nothing opens while a walk runs; the walk reads the open folder's path.
    if (isWalking()) {
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
    if (const std::optional<QString> folder = takeDrop(event)) {
        if (mayDiscardTicks())
            m_folders->open(*folder);
    }
}

} // namespace quillon
