#include "app/classiclayout.h"

#include "grid/twips.h"

#include <QWidget>

#include <algorithm>

namespace quillon {

namespace {

// Exactly there: a widget item would centre a control whose size policy is fixed.
void putAt(QLayoutItem *item, const QRect &at)
{
    if (QWidget *widget = item->widget())
        widget->setGeometry(at);
    else
        item->setGeometry(at);
}

} // namespace

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
    // As far as every spanning control and the filling one can shrink, and no further than
    // the controls on the left allow those on the right to come.
    const QSize classic = sizeHint();
    int narrower = classic.width();
    int lower = classic.height();
    int leftEnd = 0;
    int rightStart = classic.width();
    for (const Slot &slot : m_slots) {
        const QRect at = pixels(slot.place);
        if (slot.anchor == Anchor::Width || slot.anchor == Anchor::Fill)
            narrower = std::min(narrower, at.width() - m_smallestSpan);
        if (slot.anchor == Anchor::Fill)
            lower = std::min(lower, at.height() - m_smallestFill);
        if (slot.anchor == Anchor::Left)
            leftEnd = std::max(leftEnd, at.right());
        if (slot.anchor == Anchor::Right)
            rightStart = std::min(rightStart, at.left());
    }
    // The classic window's gap between its columns, 105 twips.
    const int gap = pixels(QRectF(0, 0, 105, 0)).width();
    narrower = std::clamp(rightStart - leftEnd - gap, 0, std::max(narrower, 0));
    return {classic.width() - narrower, classic.height() - std::max(lower, 0)};
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
            putAt(slot.item, at.translated(rect.topLeft()));
    }
    // A strip below the filling control takes the bottom of its place while it is shown.
    for (const Slot &slot : m_slots) {
        if (slot.anchor != Anchor::BelowFilling || slot.item->isEmpty())
            continue;
        const int height = slot.item->sizeHint().height();
        for (const Slot &fill : m_slots) {
            if (fill.anchor == Anchor::Fill)
                putAt(fill.item, filled.adjusted(0, 0, 0, -height).translated(rect.topLeft()));
        }
        putAt(slot.item, QRect(filled.left(), filled.bottom() - height + 1, filled.width(), height)
                             .translated(rect.topLeft()));
    }
}

} // namespace quillon
