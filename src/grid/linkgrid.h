#pragma once

#include "grid/linktablemodel.h"
#include "grid/linktableview.h"

#include <QWidget>

class QLabel;

namespace quillon {

// The grid: a caption bar above a table of links. Widths are in twips, the unit of the
// window's own measurements.
class LinkGrid : public QWidget {
    Q_OBJECT
public:
    explicit LinkGrid(QWidget *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);

    // Binds a table: the grid shows it (and keeps it alive) until another one is bound.
    // layoutRequested is emitted once the columns exist, before any row is drawn.
    void setDataSource(std::shared_ptr<LinkTable> table);
    const std::shared_ptr<LinkTable> &dataSource() const { return m_model->table(); }

    LinkTableModel *model() const { return m_model; }
    LinkTableView *view() const { return m_view; }

    float columnWidth(int column) const;
    void setColumnWidth(int column, float twips);

    // Makes a cell the current one, as the keyboard and the tick toggle use it.
    void setActiveCell(int row, int column);

    // The background of the table's empty area and of its cells, or an invalid colour for the
    // style's own.
    void setGridBackground(const QColor &colour);
    void setRowBackground(const QColor &colour);

Q_SIGNALS:
    void layoutRequested();

private:
    double dpi() const;

    QLabel *m_caption;
    LinkTableModel *m_model;
    LinkTableView *m_view;
};

} // namespace quillon
