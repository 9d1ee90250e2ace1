#pragma once

#include "grid/linktablemodel.h"
#include "grid/linktableview.h"

#include <QWidget>

class QLabel;

namespace quillon {

// The grid: a caption bar above a table of links, with the look of the classic grid: a narrow
// tick column, a small font, white rows and shaded folder groups. The caption is the child
// "gridCaption", the table "gridTable".
class LinkGrid : public QWidget {
    Q_OBJECT
public:
    explicit LinkGrid(QWidget *parent = nullptr);

    void setCaption(const QString &caption);

    // Binds a table: the grid shows it until another one is bound, and takes its layout
    // before any row is drawn.
    void setDataSource(LinkTable table = {});

    LinkTableModel *model() const { return m_model; }
    // The context menu, for commands that act on the grid from outside.
    TickMenu *menu() const { return m_view->menu(); }

    // Makes the folder, site and address columns as wide as their widest value measured in
    // font, and the first row's tick cell the current one.
    void fitColumnsToText(const QFont &font);

Q_SIGNALS:
    // "Tick As In A Written List" was chosen in the context menu.
    void tickAsInListRequested();
    // A ticking command left this many script links unticked.
    void scriptLinksLeftUnticked(int count);

private:
    void setUpLayout();
    void setColumnWidth(int column, float twips);

    QLabel *m_caption;
    LinkTableModel *m_model;
    LinkTableView *m_view;
};

} // namespace quillon
