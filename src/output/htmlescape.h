#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quillon {

// The one way values are written into the page and the bookmarks file, which are both HTML.
// The five characters with a meaning in HTML become "&amp; &lt; &gt; &quot; &#39;", the only
// references every bookmarks importer decodes. A C1 control becomes U+FFFD in every list (a
// browser reads most of their references as Windows-1252 characters, and no list can keep the
// others apart), as does a lone half of a UTF-16 pair, which names no character. Ascii writes
// every other character outside printable ASCII as a decimal reference, so the page is pure
// ASCII; Utf8 writes it as UTF-8, as the bookmarks file must.
enum class HtmlCharset { Ascii, Utf8 };
void appendHtmlEscaped(QByteArray &out, QStringView value, HtmlCharset charset);

// Reads back a value of either: the named references above and any decimal or hexadecimal
// character reference are decoded; anything else stays as it stands.
QString htmlUnescaped(QByteArrayView utf8);

// The code point named by the character reference at the start of text ("&#233;", "&#xE9;"),
// and the reference's length; no value when text does not start with one. Shared by the
// readers of every syntax that writes such references.
struct CharacterReference {
    char32_t code = 0;
    qsizetype length = 0;
};
std::optional<CharacterReference> characterReferenceAt(QStringView text);

// Appends code to out as one character: unlike QString::fromUcs4, keeps U+FEFF, and keeps a
// surrogate code point as the lone half it names.
void appendCodePoint(QString &out, char32_t code);

} // namespace quillon
