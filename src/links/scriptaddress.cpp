#include "links/scriptaddress.h"

#include <QString>

namespace quillon {

bool isScriptAddress(QStringView address)
{
    qsizetype i = 0;
    while (i < address.size() && address[i].unicode() <= 0x20)
        ++i;
    QString scheme;
    for (; i < address.size(); ++i) {
        const char16_t c = address[i].unicode();
        if (c == u'\t' || c == u'\r' || c == u'\n')
            continue;
        if (c == u':')
            break;
        if (scheme.size() > 10)
            return false; // longer than any scheme we look for
        scheme += QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    if (i == address.size())
        return false;
    return scheme == u"javascript" || scheme == u"vbscript" || scheme == u"data";
}

} // namespace quillon
