#include "app/mainwindow.h"

#include "app/dialogs.h"
#include "app/drivelist.h"
#include "app/folderlist.h"
#include "grid/linkgrid.h"
#include "grid/twips.h"
#include "grid/widesttext.h"
#include "links/linktable.h"
#include "scan/favoriteswalk.h"
#include "scan/filesystem.h"
#include "scan/messages.h"

#include <QApplication>

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QUrl>
#include <algorithm>

namespace quillon {

namespace {

const QString ProgramTitle = QStringLiteral("Quillon");
const QString ClassicSansSerif = QStringLiteral("MS Sans Serif");
const QString WindowFontFamily = QStringLiteral("Verdana");

// Light grey marks the folder cell that opens each folder group.
const QColor FolderGroupShade = QColor::fromRgb(0xC0C0C0);
// Added to every measured width so values do not touch the column's edge.
constexpr float ColumnMargin = 250.0f;
// How often a long walk lets the window repaint.
constexpr int RepaintIntervalMs = 100;

QFont classicFont(double pointSize, bool bold)
{
    QFont font(ClassicSansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace

void installFontSubstitutes()
{
    QFont::insertSubstitutions(ClassicSansSerif,
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        WindowFontFamily, {QStringLiteral("DejaVu Sans"), QStringLiteral("Bitstream Vera Sans")});
}

WindowEnvironment WindowEnvironment::host(const FileSystem &fs)
{
    WindowEnvironment env;
    env.fileSystem = &fs;
    env.drives = hostDrives();
    env.profile = PlatformProfile::host(env.drives);
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

    // The folder that is current when the window is created, as a classic folder list does.
    Dir1->setPath(m_environment.initialFolder);
    Drive1->showDriveOf(Dir1->path());

    connect(Drive1, &DriveList::driveChanged, this, &MainWindow::Drive1_Change);
    connect(Dir1, &FolderList::pathChanged, this, &MainWindow::Dir1_Change);
    connect(Dir1, &FolderList::openFailed, this, &MainWindow::showUnexpectedError);
    for (qint16 index = 0; index < qint16(optOutPutType.size()); ++index) {
        connect(optOutPutType[size_t(index)], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                optOutPutType_Click(index);
        });
    }
    connect(cmdGenerate, &QPushButton::clicked, this, &MainWindow::cmdGenerate_Click);
    connect(cmdWriteToFile, &QPushButton::clicked, this, &MainWindow::cmdWriteToFile_Click);
    connect(cmdExit, &QPushButton::clicked, this, &MainWindow::cmdExit_Click);
    connect(UltraGrid, &LinkGrid::layoutRequested, this, &MainWindow::GridLayoutSetup);
    UltraGrid->model()->setCellBackground(&MainWindow::GridRowSetup);
    setAcceptDrops(true);

    Form_Load();
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
    QFont windowFont(WindowFontFamily);
    windowFont.setPointSizeF(9.75);
    windowFont.setWeight(QFont::Normal);
    setFont(windowFont);

    const FileSystem &fs = *m_environment.fileSystem;
    const QFont controlFont = classicFont(8.25, false);

    UltraGrid = new LinkGrid(this);
    UltraGrid->setObjectName(QStringLiteral("UltraGrid"));
    place(UltraGrid, 120, 2880, 10095, 3015);

    frmOutPutOptions = new QGroupBox(QStringLiteral("OutPut Options"), this);
    frmOutPutOptions->setObjectName(QStringLiteral("frmOutPutOptions"));
    frmOutPutOptions->setFont(controlFont);
    place(frmOutPutOptions, 9000, 1320, 1215, 855);

    // The option buttons belong to the window, shown above the frame that draws around them.
    const auto makeOption = [&](const QString &caption, const QString &name) {
        auto *option = new QRadioButton(caption, this);
        option->setObjectName(name);
        option->setFont(controlFont);
        option->raise();
        return option;
    };
    optOutPutType[1] = makeOption(QStringLiteral(".HTML"), QStringLiteral("optOutPutType_1"));
    place(optOutPutType[1], 9120, 1920, 975, 195);
    optOutPutType[0] = makeOption(QStringLiteral(".DAT"), QStringLiteral("optOutPutType_0"));
    place(optOutPutType[0], 9120, 1560, 735, 195);

    const auto makeButton = [&](const QString &caption, const QString &name) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setFont(controlFont);
        button->setAutoDefault(false);
        return button;
    };
    cmdWriteToFile = makeButton(QStringLiteral("&Write To File"), QStringLiteral("cmdWriteToFile"));
    place(cmdWriteToFile, 9000, 720, 1215, 495);
    cmdExit = makeButton(QStringLiteral("E&xit"), QStringLiteral("cmdExit"));
    place(cmdExit, 9000, 2280, 1215, 495);
    cmdGenerate = makeButton(QStringLiteral("&Generate"), QStringLiteral("cmdGenerate"));
    place(cmdGenerate, 9000, 120, 1215, 495);

    Dir1 = new FolderList(fs, this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setFont(controlFont);
    place(Dir1, 120, 840, 8775, 1890);

    Drive1 = new DriveList(m_environment.drives, this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setFont(controlFont);
    place(Drive1, 120, 480, 8775, 315);

    Label1 = new QLabel(QStringLiteral("Browse to your Favorites folder"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(classicFont(9.75, true));
    place(Label1, 120, 120, 3255, 255);
    // A substitute font may set the caption wider than the classic one did; the label then
    // grows to the right, where nothing else sits, rather than cutting its text.
    Label1->resize(std::max(Label1->width(), Label1->sizeHint().width()), Label1->height());

    // Keyboard order: drive list, folder list, Generate, Exit, Write To File, .HTML, .DAT, grid.
    const QList<QWidget *> order = {Drive1,           Dir1,           cmdGenerate,
                                    cmdExit,          cmdWriteToFile, optOutPutType[1],
                                    optOutPutType[0], UltraGrid};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    Label1->setFocusPolicy(Qt::NoFocus);
    frmOutPutOptions->setFocusPolicy(Qt::NoFocus);

    const double dpi = logicalDpiX();
    setFixedSize(twipsToPixels(10320, dpi), twipsToPixels(5970, dpi));
}

bool MainWindow::openFolder(const QString &path)
{
    QString error;
    if (Dir1->setPath(path, &error))
        return true;
    showUnexpectedError(error);
    return false;
}

void MainWindow::showUnexpectedError(const QString &description)
{
    m_dialogs.showMessage(this, description, ProgramTitle, Dialogs::Icon::Critical);
}

void MainWindow::NewRecordset()
{
    LinkRecordset = std::make_shared<LinkTable>();
}

void MainWindow::Form_Load()
{
    UltraGrid->setCaption(QString());

    // A start folder that does not exist (as on most machines today) must not stop the start:
    // the user's home folder, or failing that the root, is opened instead.
    const QString root = m_environment.fileSystem->separator() == u'/' ? QStringLiteral("/")
                                                                       : QStringLiteral("C:\\");
    QString unused;
    if (!Dir1->setPath(m_environment.profile.startFolder, &unused) &&
        !Dir1->setPath(m_environment.homeFolder, &unused))
        Dir1->setPath(root, &unused);
    Drive1->showDriveOf(Dir1->path());

    UserSelectedPath = Dir1->path();
    cmdWriteToFile->setEnabled(false);
    optOutPutType[0]->setChecked(true);
    NewRecordset();
}

void MainWindow::Drive1_Change()
{
    if (!openFolder(Drive1->drive()))
        Drive1->showDriveOf(Dir1->path());
}

void MainWindow::Dir1_Change()
{
    cmdWriteToFile->setEnabled(false);
    NewRecordset();
    UltraGrid->setDataSource(LinkRecordset);
    UserSelectedPath = Dir1->path();
    Drive1->showDriveOf(Dir1->path());
}

void MainWindow::optOutPutType_Click(qint16 Index)
{
    if (Index == 0) {
        HtmlOutput = OutputKind::Dat;
        cdb1.Filter = QStringLiteral("DAT (*.dat)|*.dat");
    } else if (Index == 1) {
        HtmlOutput = OutputKind::Html;
        cdb1.Filter = QStringLiteral("HTML (*.html)|*.html");
    }
}

void MainWindow::cmdGenerate_Click()
{
    if (m_walking)
        return;
    NewRecordset();
    if (m_environment.profile.isTooBroad(UserSelectedPath)) {
        m_dialogs.showMessage(this, messages::tooBroad(), ProgramTitle, Dialogs::Icon::None);
        return;
    }
    UltraGrid->setDataSource(LinkRecordset);
    cmdWriteToFile->setEnabled(true);
    UserSelectedPath = Dir1->path() + m_environment.fileSystem->separator();
    LoadFavorites(UserSelectedPath);
}

void MainWindow::LoadFavorites(QString startFolder)
{
    m_walking = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LinkTableModel *model = UltraGrid->model();
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();

    // The walk runs on this thread; now and then the grid takes the new rows and the window
    // repaints, while user input waits until the walk is over.
    walkFavorites(*m_environment.fileSystem, startFolder, UserSelectedPath.size(), *LinkRecordset,
                  [&](const WalkProgress &) {
                      if (sinceRepaint.elapsed() >= RepaintIntervalMs) {
                          model->syncRows();
                          QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                          sinceRepaint.restart();
                      }
                      return !m_closeRequested;
                  });
    model->syncRows();
    QApplication::restoreOverrideCursor();
    m_walking = false;

    if (m_closeRequested) {
        close();
        return;
    }
    if (LinkRecordset->recordCount() == 0)
        m_dialogs.showMessage(this, messages::nothingFound(), ProgramTitle, Dialogs::Icon::None);
    else
        SizeGridColumns();
}

void MainWindow::SizeGridColumns()
{
    // Widths in twips, measured in the window's font.
    const double dpi = logicalDpiX();
    std::array<float, LinkFieldCount> widths{};
    const LinkTable &table = *LinkRecordset;
    if (table.recordCount() > 0) {
        std::array<WidestText, 3> widest = {WidestText(font()), WidestText(font()),
                                            WidestText(font())};
        for (const LinkRecord &record : table.records()) {
            const std::array<const std::optional<QString> *, 3> values = {
                &record.FolderName, &record.SiteName, &record.URL};
            for (size_t i = 0; i < values.size(); ++i) {
                if (const std::optional<QString> &value = *values[i]; value && !value->isEmpty())
                    widest[i].add(*value);
            }
        }
        for (size_t i = 0; i < widest.size(); ++i) {
            if (widest[i].width() > 0)
                widths[i + 1] = pixelsToTwips(widest[i].width(), dpi) + ColumnMargin;
        }
        UltraGrid->setActiveCell(0, LinkTableModel::SelectedColumn);
    }
    for (int column = LinkTableModel::FolderColumn; column <= LinkTableModel::UrlColumn; ++column)
        UltraGrid->setColumnWidth(column, widths[size_t(column)]);
    UltraGrid->setVisible(true);
}

void MainWindow::GridLayoutSetup()
{
    // The tick column is as narrow as a usable check box allows.
    const QStyle *style = UltraGrid->view()->style();
    const int tickPixels = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                           2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    UltraGrid->setColumnWidth(LinkTableModel::SelectedColumn,
                              pixelsToTwips(tickPixels, UltraGrid->logicalDpiX()));

    QFont gridFont = UltraGrid->font();
    gridFont.setBold(false);
    gridFont.setPointSizeF(8);
    gridFont.setFamily(ClassicSansSerif);
    UltraGrid->setFont(gridFont);
    UltraGrid->view()->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 4);

    UltraGrid->setCaption(QStringLiteral("Deselect What You Do Not Want"));
    // The grid's empty area keeps the style's colour; rows are white. The remaining layout
    // settings of the classic grid (border styles, row selectors, header and scroll-bar
    // behaviour) have no counterpart in a Qt table view and are left out.
    UltraGrid->setGridBackground(QColor());
    UltraGrid->setRowBackground(Qt::white);
}

std::optional<QColor> MainWindow::GridRowSetup(const LinkRecord &row, int column)
{
    if (column == LinkTableModel::FolderColumn && row.opensFolderGroup())
        return FolderGroupShade;
    return std::nullopt;
}

void MainWindow::cmdWriteToFile_Click()
{
    const std::optional<QString> name =
        m_dialogs.askSaveFileName(this, cdb1.DialogTitle, cdb1.Filter, cdb1.FileName);
    if (!name || name->isEmpty())
        return;
    cdb1.FileName = *name;

    QString error;
    if (!saveLinkList(*name, *LinkRecordset, HtmlOutput, &error)) {
        m_dialogs.showMessage(this, error, QStringLiteral("Error"), Dialogs::Icon::Critical);
        return;
    }
    // Reported only once the file is safely in place.
    m_dialogs.showMessage(this, QString(), QStringLiteral("Success"), Dialogs::Icon::None);
}

void MainWindow::cmdExit_Click()
{
    if (LinkRecordset && LinkRecordset->isOpen()) {
        LinkRecordset->close();
        LinkRecordset.reset();
    }
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

std::optional<QString> MainWindow::droppedFolder(const QMimeData *data) const
{
    if (m_walking || !data || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    const auto local =
        std::find_if(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
    if (local == urls.end())
        return std::nullopt;
    const FileSystem &fs = *m_environment.fileSystem;
    const QChar separator = fs.separator();
    QString path = local->toLocalFile();
    if (separator != u'/') {
        // A drive path arrives as "/C:/..." where the host does not know drive letters.
        if (path.size() >= 3 && path[0] == u'/' && path[2] == u':')
            path.remove(0, 1);
        path.replace(u'/', separator);
    }
    path = Dir1->normalized(path);
    if (fs.isFolder(path))
        return path;
    const qsizetype cut = path.lastIndexOf(separator);
    if (cut < 0)
        return std::nullopt;
    const QString holder = Dir1->normalized(cut == 0 ? QString(separator) : path.left(cut));
    if (!fs.isFolder(holder))
        return std::nullopt;
    return holder;
}

std::optional<QString> MainWindow::takeDrop(QDropEvent *event) const
{
    // Taken as a link or a copy only, so the file manager never removes what was dropped.
    const Qt::DropActions possible = event->possibleActions();
    const Qt::DropAction action = possible & Qt::LinkAction   ? Qt::LinkAction
                                  : possible & Qt::CopyAction ? Qt::CopyAction
                                                              : Qt::IgnoreAction;
    std::optional<QString> folder;
    if (action != Qt::IgnoreAction)
        folder = droppedFolder(event->mimeData());
    if (!folder) {
        event->ignore();
        return std::nullopt;
    }
    event->setDropAction(action);
    event->accept();
    return folder;
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
