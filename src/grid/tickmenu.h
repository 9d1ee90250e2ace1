#pragma once

#include <QMenu>

namespace quillon {

class LinkTableModel;

// The grid's context menu: tick or untick every row, flip every row, or tick or untick the
// folder group of the row the menu was opened on; tick the rows a written list names, or
// untick duplicates. Ticking many rows at once leaves script links unticked. Commands that
// cannot act on an empty grid are disabled then.
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
    // A command left this many script links unticked (never emitted for none).
    void scriptLinksLeftUnticked(int count);

private:
    void tickFolder(bool ticked);
    void reportLeftUnticked(int count);
    void enableForRows();

    LinkTableModel &m_model;
    QList<QAction *> m_needRows;
    QAction *m_tickFolder;
    QAction *m_untickFolder;
    int m_row = -1;
};

} // namespace quillon
