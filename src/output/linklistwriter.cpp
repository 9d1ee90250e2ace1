#include "output/linklistwriter.h"

#include "links/linktable.h"

#include <QIODevice>
#include <QSaveFile>

namespace quillon {

namespace {

void appendEscaped(QByteArray &out, QStringView value)
{
    for (auto it = value.begin(); it != value.end(); ++it) {
        char32_t code = it->unicode();
        if (QChar::isHighSurrogate(code) && it + 1 != value.end() && (it + 1)->isLowSurrogate()) {
            code = QChar::surrogateToUcs4(*it, *(it + 1));
            ++it;
        } else if (QChar::isSurrogate(code)) {
            code = QChar::ReplacementCharacter; // a lone half of a pair names no character
        }
        switch (code) {
        case U'&':
            out += "&amp;";
            break;
        case U'<':
            out += "&lt;";
            break;
        case U'>':
            out += "&gt;";
            break;
        case U'"':
            out += "&quot;";
            break;
        case U'\'':
            out += "&#39;";
            break;
        default:
            if (code >= 0x20 && code < 0x7F) {
                out += char(code);
            } else {
                out += "&#";
                out += QByteArray::number(uint(code));
                out += ';';
            }
        }
    }
}

void appendEscaped(QByteArray &out, const std::optional<QString> &value)
{
    if (value)
        appendEscaped(out, QStringView(*value));
}

} // namespace

QByteArray escapeHtml(QStringView value)
{
    QByteArray out;
    appendEscaped(out, value);
    return out;
}

QByteArray linkListBytes(const LinkTable &table, OutputKind kind)
{
    QByteArray out;
    if (table.recordCount() == 0)
        return out;

    const bool html = kind == OutputKind::Html;
    if (html)
        out += "<HTML>\r\n<HEAD>\r\n<TITLE>Links</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
    out += "<UL> \r\n";
    for (const LinkRecord &record : table.records()) {
        if (!record.isTicked())
            continue;
        if (record.opensFolderGroup()) {
            out += "<BR>\r\n<FONT SIZE='+1'><U><B>";
            appendEscaped(out, record.FolderName);
            out += "</B></U></FONT>\r\n<BR>\r\n";
        }
        out += "<LI><A HREF='";
        appendEscaped(out, record.URL);
        out += "' target='_blank'>";
        appendEscaped(out, record.SiteName);
        out += "</A><BR>\r\n";
    }
    out += "</UL> \r\n";
    if (html)
        out += "</BODY>\r\n</HTML>\r\n";
    return out;
}

bool writeLinkList(QIODevice &device, const LinkTable &table, OutputKind kind, QString *errorText)
{
    const QByteArray bytes = linkListBytes(table, kind);
    if (device.write(bytes) != bytes.size()) {
        if (errorText)
            *errorText = device.errorString();
        return false;
    }
    return true;
}

bool saveLinkList(const QString &path, const LinkTable &table, OutputKind kind, QString *errorText)
{
    const auto fail = [&](const QString &what, const QString &why) {
        if (errorText)
            *errorText = QStringLiteral("%1 \"%2\": %3").arg(what, path, why);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot create"), file.errorString());
    QString writeError;
    if (!writeLinkList(file, table, kind, &writeError)) {
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write"), writeError);
    }
    if (!file.commit())
        return fail(QStringLiteral("Cannot save"), file.errorString());
    return true;
}

} // namespace quillon
