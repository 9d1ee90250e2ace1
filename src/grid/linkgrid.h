#pragma once

#include "grid/linktablemodel.h"
#include "grid/linktableview.h"

#include <QWidget>

class QLabel;

namespace quillon {

// The grid: a caption bar above a table of links, with the look of the classic grid: a narrow
// tick column, a small font, white rows and shaded folder groups.
class LinkGrid : public QWidget {
    Q_OBJECT
public:
    explicit LinkGrid(QWidget *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);

    // Binds a table: the grid shows it (and keeps it alive) until another one is bound, and
    // takes its layout before any row is drawn.
    void setDataSource(std::shared_ptr<LinkTable> table);
    const std::shared_ptr<LinkTable> &dataSource() const { return m_model->table(); }

    LinkTableModel *model() const { return m_model; }
    LinkTableView *view() const { return m_view; }

    // Makes the folder, site and address columns as wide as their widest value measured in
    // font, and the first row's tick cell the current one.
    void fitColumnsToText(const QFont &font);

private:
    void setUpLayout();
    void setColumnWidth(int column, float twips);

    QLabel *m_caption;
    LinkTableModel *m_model;
    LinkTableView *m_view;
};

} // namespace quillon
