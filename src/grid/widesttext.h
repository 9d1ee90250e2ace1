#pragma once

#include <QFontMetricsF>

#include <array>

namespace quillon {

// Finds the width of the widest of many texts in one font. Shaping a text is what costs; a text
// of printable ASCII whose width, estimated from its characters' own advances, cannot beat the
// widest so far is not shaped at all. Kerning and ligatures move a Latin text's width by far
// less than the margin the estimate allows, so the result is the same as shaping every text.
class WidestText {
public:
    explicit WidestText(const QFont &font);

    void add(const QString &text);
    // In pixels; 0 when no text was added.
    qreal width() const { return m_widest; }

private:
    QFontMetricsF m_metrics;
    std::array<qreal, 128> m_asciiAdvance{};
    qreal m_widest = 0;
};

} // namespace quillon
