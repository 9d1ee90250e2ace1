#pragma once

#include <QMenu>

namespace quillon {

class LinkTableModel;

// The grid's context menu: tick or untick every row, flip every row, or tick or untick the
// folder group of the row the menu was opened on; tick the rows a written list names, or
// untick duplicates. "Select" means ticking, as in the grid's caption.
class TickMenu : public QMenu {
    Q_OBJECT
public:
    TickMenu(LinkTableModel &model, QWidget *parent = nullptr);

    // The row the folder actions act on, or -1 when the menu is not on a row (they are then
    // hidden).
    void setRow(int row);

Q_SIGNALS:
    // The list must be asked for by whoever can show a file dialog.
    void tickAsInListRequested();

private:
    void tickFolder(bool ticked);

    LinkTableModel &m_model;
    QAction *m_selectFolder;
    QAction *m_deselectFolder;
    int m_row = -1;
};

} // namespace quillon
