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
        return action;
    };
    add(tr("Select &All"), QStringLiteral("selectAllAction"),
        [this] { m_model.setSelectedRange(0, m_model.rowCount(), true); });
    add(tr("&Deselect All"), QStringLiteral("deselectAllAction"),
        [this] { m_model.setSelectedRange(0, m_model.rowCount(), false); });
    add(tr("&Invert Selection"), QStringLiteral("invertSelectionAction"),
        [this] { m_model.invertSelected(); });
    addSeparator();
    m_selectFolder = add(tr("Select &Folder"), QStringLiteral("selectFolderAction"),
                         [this] { tickFolder(true); });
    m_deselectFolder = add(tr("Deselect F&older"), QStringLiteral("deselectFolderAction"),
                           [this] { tickFolder(false); });
    addSeparator();
    add(tr("&Tick As In A Written List…"), QStringLiteral("tickAsInListAction"),
        [this] { Q_EMIT tickAsInListRequested(); });
    add(tr("&Untick Duplicates"), QStringLiteral("untickDuplicatesAction"),
        [this] { m_model.untickDuplicates(); });
    setRow(-1);
}

void TickMenu::setRow(int row)
{
    m_row = row >= 0 && row < m_model.rowCount() ? row : -1;
    m_selectFolder->setVisible(m_row >= 0);
    m_deselectFolder->setVisible(m_row >= 0);
}

void TickMenu::tickFolder(bool ticked)
{
    if (m_row < 0)
        return;
    const auto [first, last] = m_model.folderGroup(m_row);
    m_model.setSelectedRange(first, last, ticked);
}

} // namespace quillon
