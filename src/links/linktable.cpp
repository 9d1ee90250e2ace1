#include "links/linktable.h"

#include "texts/fieldnames.h"

namespace quillon {

QString linkFieldName(LinkField field)
{
    return LinkFieldNames.at(size_t(field)).english();
}

QVariant LinkTable::value(int row, LinkField field) const
{
    const LinkRecord &r = record(row);
    switch (field) {
    case LinkField::Selected:
        return r.ticked;
    case LinkField::FolderName:
        return r.opensFolderGroup() ? QVariant(r.folderName) : QVariant();
    case LinkField::SiteName:
        return r.siteName;
    case LinkField::URL:
        return r.address;
    }
    return {};
}

} // namespace quillon
