#include "grid/classicfont.h"

#include <QStringList>

namespace quillon {

QString classicSansSerif()
{
    return QStringLiteral("MS Sans Serif");
}

QString windowFontFamily()
{
    return QStringLiteral("Verdana");
}

QFont classicFont(double pointSize, bool bold)
{
    QFont font(classicSansSerif());
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

void installFontSubstitutes()
{
    QFont::insertSubstitutions(classicSansSerif(),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        windowFontFamily(), {QStringLiteral("DejaVu Sans"), QStringLiteral("Bitstream Vera Sans")});
}

} // namespace quillon
