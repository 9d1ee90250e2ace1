#include "app/classiclayout.h"

#include "grid/twips.h"

#include <QWidget>

#include <algorithm>

namespace quillon {

ClassicLayout::ClassicLayout(QWidget *window, QSizeF classicSize)
    : QLayout(window)
    , m_classicSize(classicSize)
{
    setContentsMargins(0, 0, 0, 0);
    setSizeConstraint(QLayout::SetMinimumSize);
}

ClassicLayout::~ClassicLayout()
{
    for (const Slot &slot : m_slots)
        delete slot.item;
}

void ClassicLayout::add(QWidget *widget, QRectF place, Anchor anchor)
{
    addChildWidget(widget);
    m_slots.push_back({new QWidgetItem(widget), place, anchor});
    invalidate();
}

void ClassicLayout::setSmallest(int widthOfSpanning, int heightOfFilling)
{
    m_smallestSpan = widthOfSpanning;
    m_smallestFill = heightOfFilling;
    invalidate();
}

void ClassicLayout::addItem(QLayoutItem *item)
{
    m_slots.push_back({item, {}, Anchor::Left});
}

QLayoutItem *ClassicLayout::itemAt(int index) const
{
    return index >= 0 && size_t(index) < m_slots.size() ? m_slots[size_t(index)].item : nullptr;
}

QLayoutItem *ClassicLayout::takeAt(int index)
{
    if (index < 0 || size_t(index) >= m_slots.size())
        return nullptr;
    QLayoutItem *item = m_slots[size_t(index)].item;
    m_slots.erase(m_slots.begin() + index);
    return item;
}

int ClassicLayout::count() const
{
    return int(m_slots.size());
}

QRect ClassicLayout::pixels(const QRectF &twips) const
{
    const double dpi = parentWidget()->logicalDpiX();
    return QRect(twipsToPixels(twips.x(), dpi), twipsToPixels(twips.y(), dpi),
                 twipsToPixels(twips.width(), dpi), twipsToPixels(twips.height(), dpi));
}

QSize ClassicLayout::sizeHint() const
{
    return pixels(QRectF(QPointF(), m_classicSize)).size();
}

QSize ClassicLayout::minimumSize() const
{
    // As far as the spanning controls and the filling one can shrink.
    const QSize classic = sizeHint();
    int narrowest = 0;
    int lowest = 0;
    for (const Slot &slot : m_slots) {
        const QRect at = pixels(slot.place);
        if (slot.anchor == Anchor::Width || slot.anchor == Anchor::Fill)
            narrowest = std::max(narrowest, at.width() - m_smallestSpan);
        if (slot.anchor == Anchor::Fill)
            lowest = std::max(lowest, at.height() - m_smallestFill);
    }
    return {classic.width() - narrowest, classic.height() - lowest};
}

void ClassicLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QSize classic = sizeHint();
    const int extraWidth = rect.width() - classic.width();
    const int extraHeight = rect.height() - classic.height();
    QRect filled;
    for (const Slot &slot : m_slots) {
        QRect at = pixels(slot.place);
        switch (slot.anchor) {
        case Anchor::Left:
        case Anchor::BelowFilling:
            break;
        case Anchor::Right:
            at.translate(extraWidth, 0);
            break;
        case Anchor::Width:
            at.setWidth(at.width() + extraWidth);
            break;
        case Anchor::Fill:
            at.setSize(at.size() + QSize(extraWidth, extraHeight));
            filled = at;
            break;
        }
        if (slot.anchor != Anchor::BelowFilling)
            slot.item->setGeometry(at.translated(rect.topLeft()));
    }
    // A strip below the filling control takes the bottom of its place while it is shown.
    for (const Slot &slot : m_slots) {
        if (slot.anchor != Anchor::BelowFilling || slot.item->isEmpty())
            continue;
        const int height = slot.item->sizeHint().height();
        for (const Slot &fill : m_slots) {
            if (fill.anchor == Anchor::Fill)
                fill.item->setGeometry(
                    filled.adjusted(0, 0, 0, -height).translated(rect.topLeft()));
        }
        slot.item->setGeometry(
            QRect(filled.left(), filled.bottom() - height + 1, filled.width(), height)
                .translated(rect.topLeft()));
    }
}

} // namespace quillon
