#include "app/folderlist.h"

#include "app/backgroundjob.h"
#include "scan/filesystem.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace quillon {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;

// Indents each folder by its depth, as a tree would, while the list stays a flat list.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int indent =
            index.data(DepthRole).toInt() * option->fontMetrics.averageCharWidth() * 2;
        option->rect.adjust(indent, 0, 0, 0);
    }
};

// The sub-folders of the folder, or none when it cannot be opened.
std::optional<QStringList> subfoldersOf(const FileSystem &fs, const QString &folder)
{
    const auto entries = folder.isEmpty() ? std::nullopt : fs.list(folder);
    if (!entries || !fs.isFolder(folder))
        return std::nullopt;
    QStringList subfolders;
    for (const DirEntry &entry : *entries) {
        if ((entry.kind == EntryKind::Folder || entry.kind == EntryKind::FolderLink) &&
            entry.name != u"." && entry.name != u"..")
            subfolders << entry.name;
    }
    return subfolders;
}

} // namespace

// Lists one folder's sub-folders on a worker thread; the result is read once it finished.
class FolderListing : public BackgroundJob {
public:
    using BackgroundJob::BackgroundJob;

    void start(const FileSystem &fs, const QString &folder)
    {
        m_folder = folder;
        m_subfolders.reset();
        run([this, &fs](const std::atomic_bool &) {
            m_subfolders = subfoldersOf(fs, m_folder);
            return true;
        });
    }
    const QString &folder() const { return m_folder; }
    const std::optional<QStringList> &subfolders() const { return m_subfolders; }

private:
    QString m_folder;
    std::optional<QStringList> m_subfolders;
};

FolderList::FolderList(const FileSystem &fs, QWidget *parent)
    : QListWidget(parent)
    , m_fs(fs)
    , m_syntax(fs.separator())
    , m_listing(new FolderListing(this))
{
    connect(m_listing, &BackgroundJob::finished, this, [this] {
        QString error;
        if (!show(m_listing->folder(), m_listing->subfolders(), &error))
            Q_EMIT openFailed(error);
        unsetCursor();
        if (m_wanted)
            listNext();
        else
            Q_EMIT listingChanged(false);
    });
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, &FolderList::openItem);
}

bool FolderList::setPath(const QString &path, QString *error)
{
    const QString target = m_syntax.normalized(path);
    return show(target, subfoldersOf(m_fs, target), error);
}

bool FolderList::show(const QString &target, const std::optional<QStringList> &subfolders,
                      QString *error)
{
    if (!subfolders) {
        if (error)
            *error = tr("Cannot open the folder \"%1\".").arg(target);
        fill(m_lastSubfolders);
        return false;
    }
    const bool changed = target != m_path;
    m_path = target;
    m_lastSubfolders = *subfolders;
    fill(*subfolders);
    if (changed)
        Q_EMIT pathChanged();
    return true;
}

void FolderList::open(const QString &path)
{
    m_wanted = m_syntax.normalized(path);
    if (m_listing->isRunning())
        return;
    Q_EMIT listingChanged(true);
    listNext();
}

bool FolderList::isListing() const
{
    return m_listing->isRunning();
}

void FolderList::listNext()
{
    const QString target = *std::exchange(m_wanted, std::nullopt);
    m_listing->start(m_fs, target);
    setCursor(Qt::BusyCursor);
    auto *item = new QListWidgetItem(tr("Listing %1\u2026").arg(target), this);
    item->setFlags(Qt::NoItemFlags);
    QFont italic = item->font();
    italic.setItalic(true);
    item->setFont(italic);
    scrollToItem(item);
}

void FolderList::fill(const QStringList &subfolders)
{
    clear();
    const QChar sep = m_syntax.separator();
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);

    // Ancestors from the root down to the open folder.
    QStringList ancestors;
    QString walked;
    const QStringList parts = m_path.split(sep, Qt::SkipEmptyParts);
    int depth = 0;
    const auto addItem = [&](const QString &label, const QString &fullPath, bool open) {
        auto *item = new QListWidgetItem(open ? openIcon : closedIcon, label, this);
        item->setData(PathRole, fullPath);
        item->setData(DepthRole, depth++);
        return item;
    };
    QListWidgetItem *current = nullptr;
    if (m_path.startsWith(sep)) { // a Unix path starts at "/"
        walked = sep;
        current = addItem(walked, walked, true);
    }
    for (const QString &part : parts) {
        walked = walked.isEmpty() ? part + sep : m_syntax.joined(walked, part);
        current = addItem(m_syntax.normalized(part), m_syntax.normalized(walked), true);
    }
    const int childDepth = depth;
    for (const QString &name : subfolders) {
        depth = childDepth;
        addItem(name, m_syntax.joined(m_path, name), false);
    }
    if (current) {
        // The open folder, the one Generate walks, stays bold whichever folder is highlighted.
        QFont bold = current->font();
        bold.setBold(true);
        current->setFont(bold);
        setCurrentItem(current);
    }
    setToolTip(tr("Open folder: %1\nDouble-click or press Enter to open a highlighted "
                  "folder.")
                   .arg(m_path));
}

void FolderList::openItem(QListWidgetItem *item)
{
    if (!item)
        return;
    if (item->flags() == Qt::NoItemFlags)
        return;
    const QString target = item->data(PathRole).toString();
    if (target != m_path && m_mayLeave && !m_mayLeave())
        return;
    open(target);
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openItem(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace quillon
