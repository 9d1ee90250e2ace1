#include "grid/linkgrid.h"

#include "grid/twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

LinkGrid::LinkGrid(QWidget *parent)
    : QWidget(parent)
    , m_caption(new QLabel(this))
    , m_model(new LinkTableModel(this))
    , m_view(new LinkTableView(*m_model, this))
{
    m_caption->setObjectName(QStringLiteral("gridCaption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    m_caption->setBackgroundRole(QPalette::Mid);
    m_caption->setForegroundRole(QPalette::BrightText);
    m_caption->setContentsMargins(2, 1, 2, 1);

    m_view->setObjectName(QStringLiteral("gridTable"));
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideRight);
    // Every row has the same height, so a hundred thousand rows cost no per-row measuring.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setMinimumSectionSize(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_caption);
    layout->addWidget(m_view, 1);
    setFocusProxy(m_view);
}

QString LinkGrid::caption() const
{
    return m_caption->text();
}

void LinkGrid::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    m_caption->setVisible(!caption.isEmpty());
}

void LinkGrid::setDataSource(std::shared_ptr<LinkTable> table)
{
    m_model->setTable(std::move(table));
    Q_EMIT layoutRequested();
}

double LinkGrid::dpi() const
{
    return logicalDpiX();
}

float LinkGrid::columnWidth(int column) const
{
    return pixelsToTwips(m_view->columnWidth(column), dpi());
}

void LinkGrid::setColumnWidth(int column, float twips)
{
    m_view->setColumnWidth(column, twipsToPixels(twips, dpi()));
}

void LinkGrid::setActiveCell(int row, int column)
{
    const QModelIndex cell = m_model->index(row, column);
    if (cell.isValid())
        m_view->setCurrentIndex(cell);
}

void LinkGrid::setGridBackground(const QColor &colour)
{
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Window,
                     colour.isValid() ? colour : this->palette().color(QPalette::Window));
    m_view->setPalette(palette);
}

void LinkGrid::setRowBackground(const QColor &colour)
{
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base,
                     colour.isValid() ? colour : this->palette().color(QPalette::Base));
    m_view->setPalette(palette);
}

} // namespace quillon
