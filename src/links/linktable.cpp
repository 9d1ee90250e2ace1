#include "links/linktable.h"

namespace quillon {

QString linkFieldName(LinkField field)
{
    switch (field) {
    case LinkField::Selected:
        return QStringLiteral("Selected");
    case LinkField::FolderName:
        return QStringLiteral("Foldername");
    case LinkField::SiteName:
        return QStringLiteral("SiteName");
    case LinkField::URL:
        return QStringLiteral("URL");
    }
    return {};
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
