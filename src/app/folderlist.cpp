#include "app/folderlist.h"

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

} // namespace

FolderList::FolderList(const FileSystem &fs, QWidget *parent)
    : QListWidget(parent)
    , m_fs(fs)
    , m_syntax(fs.separator())
{
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, &FolderList::openItem);
}

bool FolderList::setPath(const QString &path, QString *error)
{
    const QString target = m_syntax.normalized(path);
    const auto entries = target.isEmpty() ? std::nullopt : m_fs.list(target);
    if (!entries || !m_fs.isFolder(target)) {
        if (error)
            *error = tr("Cannot open the folder \"%1\".").arg(target);
        return false;
    }
    QStringList subfolders;
    for (const DirEntry &entry : *entries) {
        if ((entry.kind == EntryKind::Folder || entry.kind == EntryKind::FolderLink) &&
            entry.name != u"." && entry.name != u"..")
            subfolders << entry.name;
    }
    const bool changed = target != m_path;
    m_path = target;
    fill(subfolders);
    if (changed)
        Q_EMIT pathChanged();
    return true;
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
    QString error;
    if (!setPath(item->data(PathRole).toString(), &error))
        Q_EMIT openFailed(error);
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
