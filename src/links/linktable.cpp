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

namespace {
template <typename T> QVariant toVariant(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}
} // namespace

QVariant LinkTable::value(int row, LinkField field) const
{
    const LinkRecord &r = record(row);
    switch (field) {
    case LinkField::Selected:
        return toVariant(r.Selected);
    case LinkField::FolderName:
        return toVariant(r.FolderName);
    case LinkField::SiteName:
        return toVariant(r.SiteName);
    case LinkField::URL:
        return toVariant(r.URL);
    }
    return {};
}

} // namespace quillon
