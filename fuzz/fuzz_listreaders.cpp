// Arbitrary bytes through the readers of the newer file kinds: a .webloc property list, a
// .desktop entry and a written list must not crash or hang. The same bytes, taken as records,
// then go through every output kind (also Markdown, JSON and CSV) and back: reading the written
// list finds every record, and ticking as in it and writing again gives the same bytes.
//
// Records are separated by 0x1E, fields by 0x1F: folder name, site name, address (UTF-8).

#include "links/linktable.h"
#include "links/listedlink.h"
#include "output/linklistwriter.h"
#include "output/writtenlist.h"
#include "require.h"
#include "shortcuts/desktoplink.h"
#include "shortcuts/webloc.h"

#include <cstdint>

using namespace quillon;
using quillon::fuzz::require;

namespace {

LinkTable tableFrom(const QByteArray &input)
{
    LinkTable table;
    for (const QByteArray &record : input.split('\x1e')) {
        const QList<QByteArray> fields = record.split('\x1f');
        const auto field = [&](int index) {
            return index < fields.size() ? QString::fromUtf8(fields[index]) : QString();
        };
        LinkRecord r;
        r.ticked = true;
        r.folderName = field(0);
        r.siteName = field(1);
        r.address = field(2);
        table.append(std::move(r));
    }
    return table;
}

void roundTrip(const QByteArray &input, OutputKind kind)
{
    LinkTable table = tableFrom(input);
    const QByteArray written = linkListBytes(table, kind);
    QString error;
    const auto links = readWrittenList(written, &error);
    require(links.has_value(), "a written list is not read back");
    require(links->size() == size_t(table.recordCount()), "links lost or gained");
    for (int row = 0; row < table.recordCount(); ++row)
        table.setTicked(row, false);
    const TicksFromList ticks = tickAsInList(table, *links);
    require(ticks.linksNotFound == 0, "a written link is not found again");
    require(ticks.tickedRows.size() == table.recordCount(), "a written row is not ticked again");
    require(linkListBytes(table, kind) == written, "writing again differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString address = weblocAddress(bytes);
    require(address.size() <= bytes.size(), "address longer than the file");
    if (const auto link = readDesktopLink(bytes))
        require(link->address.size() + link->name.size() <= bytes.size(), "values too long");
    // The shortest link any kind can hold is a CSV row of four bytes.
    if (const auto links = readWrittenList(bytes))
        require(links->size() <= size_t(bytes.size() / 4 + 1), "more links than bytes can hold");

    for (const OutputKind kind : {OutputKind::Dat, OutputKind::Html, OutputKind::Bookmarks,
                                  OutputKind::Markdown, OutputKind::Csv})
        roundTrip(bytes, kind);
    // Qt's JSON parser takes about 500 levels of folders; no favorites tree is that deep.
    if (bytes.count('/') + bytes.count('\\') < 400)
        roundTrip(bytes, OutputKind::Json);
    return 0;
}
