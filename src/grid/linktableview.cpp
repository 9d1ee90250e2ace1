#include "grid/linktableview.h"

#include "grid/linktablemodel.h"
#include "grid/tickmenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

namespace quillon {

LinkTableView::LinkTableView(LinkTableModel &model, QWidget *parent)
    : QTableView(parent)
    , m_model(model)
    , m_menu(new TickMenu(model, this))
{
    setModel(&model);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &LinkTableView::keepACurrentRow);
    connect(&model, &QAbstractItemModel::modelReset, this, &LinkTableView::keepACurrentRow);
    connect(m_menu, &TickMenu::tickAsInListRequested, this, &LinkTableView::tickAsInListRequested);
    connect(m_menu, &TickMenu::scriptLinksLeftUnticked, this,
            &LinkTableView::scriptLinksLeftUnticked);
}

QList<int> LinkTableView::chosenRows() const
{
    QList<int> rows;
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return rows;
    // A selection the current row is not part of may lie out of view: only the row the
    // user sees as current is acted on then.
    const QItemSelectionModel *selection = selectionModel();
    if (!selection->isRowSelected(current.row(), current.parent()))
        return {current.row()};
    // Whole ranges rather than single indexes, so that Ctrl+A over many rows stays cheap.
    for (const QItemSelectionRange &range : selection->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    return rows;
}

void LinkTableView::keepACurrentRow()
{
    if (!currentIndex().isValid() && m_model.rowCount() > 0)
        selectionModel()->setCurrentIndex(m_model.index(0, 0), QItemSelectionModel::NoUpdate);
}

void LinkTableView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    keepACurrentRow();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void LinkTableView::toggleChosenRows()
{
    m_model.toggleTicks(chosenRows());
}

void LinkTableView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    // Handled here entirely: the item delegate would otherwise tick the current cell a
    // second time.
    if ((key == Qt::Key_Space || key == Qt::Key_Select) && modifiers == Qt::NoModifier) {
        if (currentIndex().isValid())
            scrollTo(currentIndex());
        toggleChosenRows();
        event->accept();
        return;
    }
    if ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        openMenuAtCurrentRow();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void LinkTableView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        openMenuAtCurrentRow();
        return;
    }
    m_menu->setRow(indexAt(event->pos()).row());
    m_menu->popup(event->globalPos());
}

void LinkTableView::openMenuAtCurrentRow()
{
    const QModelIndex current = currentIndex();
    QPoint at;
    if (current.isValid()) {
        scrollTo(current);
        at = visualRect(current).bottomLeft();
    }
    m_menu->setRow(current.isValid() ? current.row() : -1);
    m_menu->popup(viewport()->mapToGlobal(at));
}

} // namespace quillon
