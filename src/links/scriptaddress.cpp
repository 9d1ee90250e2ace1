#include "links/scriptaddress.h"

#include <string_view>

namespace quillon {

bool isScriptAddress(QStringView address)
{
    // The scheme is gathered in a small buffer: this runs once for every row the walk makes.
    constexpr qsizetype longest = 10; // "javascript"
    char scheme[longest];
    qsizetype length = 0;
    qsizetype i = 0;
    while (i < address.size() && address[i].unicode() <= 0x20)
        ++i;
    for (; i < address.size(); ++i) {
        const char16_t c = address[i].unicode();
        if (c == u'\t' || c == u'\r' || c == u'\n')
            continue;
        if (c == u':')
            break;
        if (length == longest || c >= 0x80)
            return false; // longer than any scheme looked for, or not ASCII
        scheme[length++] = char(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
    }
    if (i == address.size())
        return false;
    const std::string_view found(scheme, size_t(length));
    return found == "javascript" || found == "vbscript" || found == "data";
}

} // namespace quillon
