#pragma once

#include <QLayout>
#include <QRectF>

#include <vector>

namespace quillon {

// Places the window's controls where the classic window had them, in twips, and lets a larger
// window give its extra room to the one control that fills: controls on the right keep their
// distance from the right edge, those that span the width grow with it, the filling control
// (the grid) grows both ways. At the classic size every control is exactly where it was.
class ClassicLayout : public QLayout {
public:
    enum class Anchor {
        Left,        // keeps its place and size
        Right,       // keeps its distance from the right edge and its size
        Width,       // keeps its place and height, and spans the extra width
        Fill,        // takes the extra width and height
        BelowFilling // shown only when visible, at the bottom of the filling control's place
    };

    // classicSize and the places below are in twips.
    ClassicLayout(QWidget *window, QSizeF classicSize);
    ~ClassicLayout() override;

    void add(QWidget *widget, QRectF place, Anchor anchor);
    // The narrowest width and lowest height the growing controls are kept at, in pixels.
    void setSmallest(int widthOfSpanning, int heightOfFilling);

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    struct Slot {
        QLayoutItem *item;
        QRectF place;
        Anchor anchor;
    };
    QRect pixels(const QRectF &twips) const;

    QSizeF m_classicSize;
    std::vector<Slot> m_slots;
    int m_smallestSpan = 0;
    int m_smallestFill = 0;
};

} // namespace quillon
