#include "grid/tickmenu.h"

#include "grid/linktablemodel.h"

namespace quillon {

TickMenu::TickMenu(LinkTableModel &model, QWidget *parent)
    : QMenu(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("gridTickMenu"));
    const auto add = [this](const QString &text, const QString &name, auto slot) {
        QAction *action = addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        m_needRows.append(action);
        return action;
    };
    add(tr("Tick &All"), QStringLiteral("tickAllAction"),
        [this] { reportLeftUnticked(m_model.tickRange(0, m_model.rowCount())); });
    add(tr("&Untick All"), QStringLiteral("untickAllAction"),
        [this] { m_model.untickRange(0, m_model.rowCount()); });
    add(tr("&Invert Ticks"), QStringLiteral("invertTicksAction"),
        [this] { reportLeftUnticked(m_model.invertTicks()); });
    addSeparator();
    m_tickFolder =
        add(tr("Tick &Folder"), QStringLiteral("tickFolderAction"), [this] { tickFolder(true); });
    m_untickFolder = add(tr("Untick F&older"), QStringLiteral("untickFolderAction"),
                         [this] { tickFolder(false); });
    addSeparator();
    add(tr("&Tick As In A Written List\u2026"), QStringLiteral("tickAsInListAction"),
        [this] { Q_EMIT tickAsInListRequested(); });
    add(tr("Untick &Duplicates"), QStringLiteral("untickDuplicatesAction"),
        [this] { m_model.untickDuplicates(); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, &TickMenu::enableForRows);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &TickMenu::enableForRows);
    setRow(-1);
}

void TickMenu::enableForRows()
{
    const bool hasRows = m_model.rowCount() > 0;
    for (QAction *action : std::as_const(m_needRows))
        action->setEnabled(hasRows);
}

void TickMenu::setRow(int row)
{
    m_row = row >= 0 && row < m_model.rowCount() ? row : -1;
    m_tickFolder->setVisible(m_row >= 0);
    m_untickFolder->setVisible(m_row >= 0);
    enableForRows();
}

void TickMenu::tickFolder(bool ticked)
{
    if (m_row < 0)
        return;
    const FolderGroup group = m_model.folderGroup(m_row);
    if (ticked)
        reportLeftUnticked(m_model.tickRange(group.firstRow, group.endRow));
    else
        m_model.untickRange(group.firstRow, group.endRow);
}

void TickMenu::reportLeftUnticked(int count)
{
    if (count > 0)
        Q_EMIT scriptLinksLeftUnticked(count);
}

} // namespace quillon
