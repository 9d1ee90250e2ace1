#include "output/csvlist.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "output/linkfields.h"
#include "output/listsink.h"
#include "output/textlines.h"

namespace quillon {

namespace {

constexpr QByteArrayView byteOrderMark = "\xEF\xBB\xBF";
constexpr QByteArrayView header = "folder,site,address,date";
constexpr QByteArrayView rowEnd = "\r\n";
constexpr int SiteColumn = 1;
constexpr int AddressColumn = 2;
constexpr int ColumnCount = 4;
constexpr char16_t formulaGuard = u'\'';

// A spreadsheet runs a cell that starts with one of these as a formula.
bool startsFormula(QStringView field)
{
    while (field.startsWith(formulaGuard))
        field = field.sliced(1); // "'=…" must keep its own "'" when it is read back
    return !field.isEmpty() && QStringView(u"=+-@\t\r").contains(field.front());
}

void appendField(QByteArray &out, const QString &value)
{
    const QString field = startsFormula(value) ? formulaGuard + value : value;
    const bool quoted = field.contains(u',') || field.contains(u'"') || field.contains(u'\r') ||
                        field.contains(u'\n');
    if (!quoted) {
        out += field.toUtf8();
        return;
    }
    out += '"';
    out += QString(field).replace(u'"', QStringLiteral("\"\"")).toUtf8();
    out += '"';
}

// One record of a CSV text from offset on; moves offset past its row end. No value when the
// record is broken.
std::optional<std::vector<QString>> readRecord(QByteArrayView text, qsizetype &offset)
{
    std::vector<QString> fields;
    while (true) {
        QByteArray field;
        if (offset < text.size() && text[offset] == '"') {
            for (++offset;; ++offset) {
                if (offset >= text.size())
                    return std::nullopt; // a quote that never closes
                if (text[offset] != '"') {
                    field += text[offset];
                } else if (offset + 1 < text.size() && text[offset + 1] == '"') {
                    field += '"';
                    ++offset;
                } else {
                    ++offset;
                    break;
                }
            }
        } else {
            qsizetype end = offset;
            while (end < text.size() && text[end] != ',' && text[end] != '\r' &&
                   text[end] != '\n' && text[end] != '"')
                ++end;
            field = text.sliced(offset, end - offset).toByteArray();
            offset = end;
        }
        QString value = decodedUtf8(field);
        if (value.startsWith(formulaGuard) && startsFormula(QStringView(value).sliced(1)))
            value.remove(0, 1);
        fields.push_back(std::move(value));
        if (offset < text.size() && text[offset] == ',') {
            ++offset;
            continue;
        }
        if (text.sliced(offset).startsWith(rowEnd))
            offset += rowEnd.size();
        else if (offset < text.size() && text[offset] == '\n')
            ++offset;
        else if (offset < text.size())
            return std::nullopt; // text after a closing quote
        return fields;
    }
}

} // namespace

void writeCsvList(ListSink &out, const LinkTable &table)
{
    out += byteOrderMark;
    out += header;
    out += rowEnd;
    for (const FolderGroup &group : folderGroups(table)) {
        for (int row = group.firstRow; row < group.endRow; ++row) {
            const LinkRecord &record = table.record(row);
            if (!record.ticked)
                continue;
            const LinkFields fields = linkFields(record, group.folderName);
            appendField(out.pending(), fields.folder);
            out += ',';
            appendField(out.pending(), fields.site);
            out += ',';
            appendField(out.pending(), fields.address);
            out += ',';
            appendField(out.pending(), fields.date.value_or(QString()));
            out += rowEnd;
            out.endItem();
        }
    }
}

bool startsCsvList(QByteArrayView line)
{
    return line == header;
}

std::optional<std::vector<ListedLink>> readCsvList(QByteArrayView text, QString &error)
{
    std::vector<ListedLink> links;
    qsizetype offset = text.indexOf('\n') + 1;
    for (qsizetype row = 2; offset > 0 && offset < text.size(); ++row) {
        std::optional<std::vector<QString>> fields = readRecord(text, offset);
        if (!fields || fields->size() != ColumnCount) {
            error = QStringLiteral("row %1 is not a link as Quillon writes it").arg(row);
            return std::nullopt;
        }
        links.push_back({std::move((*fields)[AddressColumn]), std::move((*fields)[SiteColumn])});
    }
    return links;
}

} // namespace quillon
