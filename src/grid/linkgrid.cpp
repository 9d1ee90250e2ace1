#include "grid/linkgrid.h"

#include "grid/classicfont.h"
#include "grid/twips.h"
#include "grid/widesttext.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include <array>

namespace quillon {

namespace {
// Added to every measured width so values do not touch the column's edge.
constexpr float ColumnMargin = 250.0f;
constexpr QRgb CaptionBackground = 0xFF595959;
} // namespace

LinkGrid::LinkGrid(QWidget *parent)
    : QWidget(parent)
    , m_caption(new QLabel(this))
    , m_model(new LinkTableModel(this))
    , m_view(new LinkTableView(*m_model, this))
{
    m_caption->setObjectName(QStringLiteral("gridCaption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    // White on dark grey: a contrast of 7:1, where the style's mid grey gave about 2:1.
    QPalette captionColours = m_caption->palette();
    captionColours.setColor(QPalette::Window, QColor(CaptionBackground));
    captionColours.setColor(QPalette::WindowText, Qt::white);
    m_caption->setPalette(captionColours);
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
    // A column as wide as a long address would otherwise centre its name out of view.
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Tab leaves the grid for the next control; the arrows move from cell to cell.
    m_view->setTabKeyNavigation(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_caption);
    layout->addWidget(m_view, 1);
    setFocusProxy(m_view);
    // A status column, once there, sits beside the ticks: behind a long address it would be
    // out of view.
    connect(m_model, &QAbstractItemModel::columnsInserted, this, [this] {
        QHeaderView *header = m_view->horizontalHeader();
        header->moveSection(header->visualIndex(LinkTableModel::StatusColumn),
                            LinkTableModel::FolderColumn);
    });
    connect(m_view, &LinkTableView::tickAsInListRequested, this, &LinkGrid::tickAsInListRequested);
    connect(m_view, &LinkTableView::scriptLinksLeftUnticked, this,
            &LinkGrid::scriptLinksLeftUnticked);
}

void LinkGrid::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    m_caption->setVisible(!caption.isEmpty());
}

void LinkGrid::setDataSource(LinkTable table)
{
    m_model->setTable(std::move(table));
    setUpLayout();
}

void LinkGrid::setColumnWidth(int column, float twips)
{
    m_view->setColumnWidth(column, twipsToPixels(twips, logicalDpiX()));
}

void LinkGrid::setUpLayout()
{
    // The tick column is as narrow as a usable check box allows.
    const QStyle *style = m_view->style();
    const int tickPixels = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                           2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    setColumnWidth(LinkTableModel::SelectedColumn, pixelsToTwips(tickPixels, logicalDpiX()));

    QFont gridFont = font();
    gridFont.setBold(false);
    gridFont.setPointSizeF(8);
    gridFont.setFamily(classicSansSerif());
    setFont(gridFont);
    m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 4);

    setCaption(tr("Deselect What You Do Not Want"));
    // The empty area keeps the style's colour; rows are white. The remaining settings of the
    // classic grid (border styles, row selectors, header and scroll-bar behaviour) have no
    // counterpart in a Qt table view and are left out.
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Window, this->palette().color(QPalette::Window));
    palette.setColor(QPalette::Base, Qt::white);
    m_view->setPalette(palette);
}

void LinkGrid::fitColumnsToText(const QFont &font)
{
    // Widths in twips; a column is never narrower than its name, even without a value.
    const double dpi = logicalDpiX();
    std::array<float, LinkFieldCount> widths{};
    const LinkTable *table = m_model->table();
    if (table && table->recordCount() > 0) {
        std::array<WidestText, 3> widest = {WidestText(font), WidestText(font), WidestText(font)};
        for (const LinkRecord &record : table->records()) {
            const std::array<const QString *, 3> values = {&record.folderName, &record.siteName,
                                                           &record.address};
            for (size_t i = 0; i < values.size(); ++i) {
                if (!values[i]->isEmpty())
                    widest[i].add(*values[i]);
            }
        }
        for (size_t i = 0; i < widest.size(); ++i) {
            if (widest[i].width() > 0)
                widths[i + 1] = pixelsToTwips(widest[i].width(), dpi) + ColumnMargin;
        }
        // The first cell is the active one without selecting its row, so the row's shading
        // shows.
        const QModelIndex first = m_model->index(0, LinkTableModel::SelectedColumn);
        if (first.isValid())
            m_view->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    }
    const QHeaderView *header = m_view->horizontalHeader();
    for (int column = LinkTableModel::FolderColumn; column <= LinkTableModel::UrlColumn; ++column) {
        const int pixels =
            std::max(twipsToPixels(widths[size_t(column)], dpi), header->sectionSizeHint(column));
        m_view->setColumnWidth(column, pixels);
    }
    setVisible(true);
}

} // namespace quillon
