#pragma once

#include <QTableView>

namespace quillon {

class LinkTableModel;
class TickMenu;

// The grid's table. Space ticks or unticks the current row, or every selected row at once when
// the current row is one of them; the context menu (mouse, menu key or Shift+F10) offers
// ticking of all rows or of one folder group. With rows, there is always a current row, and it
// is in view whenever the table has the focus.
class LinkTableView : public QTableView {
    Q_OBJECT
public:
    explicit LinkTableView(LinkTableModel &model, QWidget *parent = nullptr);

    TickMenu *menu() const { return m_menu; }

Q_SIGNALS:
    void tickAsInListRequested();
    void scriptLinksLeftUnticked(int count);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // The selected rows when the current row is one of them, else the current row.
    QList<int> chosenRows() const;
    // Makes the first row current when there are rows and none is.
    void keepACurrentRow();
    // Ticks every chosen row, or unticks them all when every one is ticked.
    void toggleChosenRows();
    void openMenuAtCurrentRow();

    LinkTableModel &m_model;
    TickMenu *m_menu;
};

} // namespace quillon
