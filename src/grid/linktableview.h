#pragma once

#include <QTableView>

namespace quillon {

class LinkTableModel;
class TickMenu;

// The grid's table. Space ticks or unticks every selected row at once; the context menu (mouse,
// menu key or Shift+F10) offers ticking of all rows or of one folder group.
class LinkTableView : public QTableView {
    Q_OBJECT
public:
    explicit LinkTableView(LinkTableModel &model, QWidget *parent = nullptr);

Q_SIGNALS:
    void tickAsInListRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // The selected rows, or the current row when none is selected.
    QList<int> chosenRows() const;
    // Ticks every chosen row, or unticks them all when every one is ticked.
    void toggleChosenRows();
    void openMenuAtCurrentRow();
    // Makes the first cell current, not selected, when rows exist and none is current.
    void keepCurrentRow();

    LinkTableModel &m_model;
    TickMenu *m_menu;
};

} // namespace quillon
