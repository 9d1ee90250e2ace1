#pragma once

#include <QFont>

namespace quillon {

// The classic fonts the window and the grid are laid out in.
QString classicSansSerif();
QString windowFontFamily();
QFont classicFont(double pointSize, bool bold);

// Makes the classic fonts resolve to metric-alike fonts of this machine.
void installFontSubstitutes();

} // namespace quillon
