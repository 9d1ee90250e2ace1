#include "grid/widesttext.h"

#include <algorithm>

namespace quillon {

namespace {
// How much wider than its characters' advances a text may be set: a tenth, and two pixels.
constexpr qreal EstimateSlack = 1.1;
constexpr qreal EstimateSlackPixels = 2.0;
} // namespace

WidestText::WidestText(const QFont &font)
    : m_metrics(font)
{
    for (char16_t c = 0x20; c < 0x7F; ++c)
        m_asciiAdvance[c] = m_metrics.horizontalAdvance(QChar(c));
}

void WidestText::add(const QString &text)
{
    qreal estimate = 0;
    bool printableAscii = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u >= 0x7F) {
            printableAscii = false;
            break;
        }
        estimate += m_asciiAdvance[u];
    }
    if (printableAscii && estimate * EstimateSlack + EstimateSlackPixels <= m_widest)
        return;
    m_widest = std::max(m_widest, m_metrics.horizontalAdvance(text));
}

} // namespace quillon
