#include "shortcuts/webloc.h"

#include <QXmlStreamReader>

#include <optional>

namespace quillon {

namespace {

constexpr QByteArrayView binaryMagic = "bplist00";

// Reads the value that follows <key>URL</key> in the XML form's top <dict>.
QString xmlWeblocAddress(QByteArrayView bytes)
{
    QXmlStreamReader xml(bytes.toByteArray());
    QString address;
    bool nextIsUrl = false;
    int depth = 0; // element nesting: plist = 1, its dict = 2, that dict's entries = 3
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QStringView name = xml.name();
        if ((depth == 1 && name != u"plist") || (depth == 2 && name != u"dict"))
            return {};
        if (depth != 3)
            continue;
        if (name == u"key") {
            nextIsUrl = xml.readElementText() == u"URL";
            --depth;
        } else if (nextIsUrl) {
            nextIsUrl = false;
            if (name != u"string")
                return {};
            address = xml.readElementText();
            --depth;
        }
    }
    return xml.hasError() ? QString() : address;
}

// The binary form: a trailer at the end locates an offset table, which locates every object;
// objects refer to each other by index. Every count and offset is checked against the bytes.
class BinaryPlist {
public:
    explicit BinaryPlist(QByteArrayView bytes)
        : m_bytes(bytes)
    {}

    std::optional<QString> urlOfTopDictionary()
    {
        if (m_bytes.size() < binaryMagic.size() + trailerSize)
            return std::nullopt;
        const qsizetype trailer = m_bytes.size() - trailerSize;
        m_offsetSize = byteAt(trailer + 6);
        m_refSize = byteAt(trailer + 7);
        const auto objectCount = bigEndian(trailer + 8, 8);
        const auto top = bigEndian(trailer + 16, 8);
        const auto tableAt = bigEndian(trailer + 24, 8);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8 ||
            !objectCount || !top || !tableAt || *top >= *objectCount ||
            *tableAt < quint64(binaryMagic.size()) || *tableAt > quint64(trailer) ||
            *objectCount > (quint64(trailer) - *tableAt) / quint64(m_offsetSize))
            return std::nullopt;
        m_objectCount = *objectCount;
        m_tableAt = qsizetype(*tableAt);
        return dictionaryValueOf(*top, u"URL");
    }

private:
    static constexpr qsizetype trailerSize = 32;

    int byteAt(qsizetype at) const { return static_cast<unsigned char>(m_bytes[at]); }

    std::optional<quint64> bigEndian(qsizetype at, int size) const
    {
        if (at < 0 || size > m_bytes.size() - at)
            return std::nullopt;
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | quint64(byteAt(at + i));
        return value;
    }

    // Where an object starts; only the area between the header and the offset table counts.
    std::optional<qsizetype> objectAt(quint64 index) const
    {
        if (index >= m_objectCount)
            return std::nullopt;
        const auto at = bigEndian(m_tableAt + qsizetype(index) * m_offsetSize, m_offsetSize);
        if (!at || *at < quint64(binaryMagic.size()) || *at >= quint64(m_tableAt))
            return std::nullopt;
        return qsizetype(*at);
    }

    // How many object bytes there are from at to the offset table.
    quint64 roomAt(qsizetype at) const { return quint64(std::max<qsizetype>(m_tableAt - at, 0)); }

    // An object's kind (high nibble) and its count, which may follow as an integer object;
    // at is moved past both.
    std::optional<quint64> countAt(qsizetype &at, int &kind) const
    {
        const int marker = byteAt(at++);
        kind = marker >> 4;
        if ((marker & 0x0F) != 0x0F)
            return quint64(marker & 0x0F);
        if (at >= m_tableAt || (byteAt(at) >> 4) != 0x1)
            return std::nullopt;
        const int size = 1 << (byteAt(at) & 0x0F);
        if (size > 8)
            return std::nullopt;
        const auto count = bigEndian(at + 1, size);
        at += 1 + size;
        return count;
    }

    // The string object at index; none when it is longer than maxCount characters (or bytes,
    // for UTF-8), so a lookup by key never decodes long strings.
    std::optional<QString> stringAt(quint64 index, quint64 maxCount = ~quint64(0)) const
    {
        auto at = objectAt(index);
        if (!at)
            return std::nullopt;
        int kind = 0;
        const auto count = countAt(*at, kind);
        if (!count || *count > maxCount)
            return std::nullopt;
        const quint64 room = roomAt(*at);
        switch (kind) {
        case 0x5: // ASCII
            if (*count > room)
                return std::nullopt;
            return QString::fromLatin1(m_bytes.sliced(*at, qsizetype(*count)));
        case 0x7: // UTF-8
            if (*count > room)
                return std::nullopt;
            return QString::fromUtf8(m_bytes.sliced(*at, qsizetype(*count)));
        case 0x6: { // UTF-16, big-endian; the count is in code units
            if (*count > room / 2)
                return std::nullopt;
            QString text(qsizetype(*count), Qt::Uninitialized);
            for (qsizetype i = 0; i < text.size(); ++i)
                text[i] = QChar(char16_t(byteAt(*at + 2 * i) << 8 | byteAt(*at + 2 * i + 1)));
            return text;
        }
        default:
            return std::nullopt;
        }
    }

    std::optional<QString> dictionaryValueOf(quint64 index, QStringView wanted) const
    {
        auto at = objectAt(index);
        if (!at)
            return std::nullopt;
        int kind = 0;
        const auto count = countAt(*at, kind);
        if (kind != 0xD || !count || *count > roomAt(*at) / 2 / quint64(m_refSize))
            return std::nullopt;
        const qsizetype values = *at + qsizetype(*count) * m_refSize;
        for (qsizetype i = 0; i < qsizetype(*count); ++i) {
            const auto keyRef = bigEndian(*at + i * m_refSize, m_refSize);
            if (!keyRef || stringAt(*keyRef, 4 * quint64(wanted.size())) != wanted)
                continue;
            const auto valueRef = bigEndian(values + i * m_refSize, m_refSize);
            return valueRef ? stringAt(*valueRef) : std::nullopt;
        }
        return std::nullopt;
    }

    QByteArrayView m_bytes;
    int m_offsetSize = 0;
    int m_refSize = 0;
    quint64 m_objectCount = 0;
    qsizetype m_tableAt = 0;
};

} // namespace

QString weblocAddress(QByteArrayView bytes)
{
    if (bytes.startsWith(binaryMagic))
        return BinaryPlist(bytes).urlOfTopDictionary().value_or(QString());
    return xmlWeblocAddress(bytes);
}

} // namespace quillon
