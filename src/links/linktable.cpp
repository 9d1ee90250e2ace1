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

std::optional<LinkField> linkFieldByName(QStringView name)
{
    for (int i = 0; i < LinkFieldCount; ++i) {
        const auto field = LinkField(i);
        if (name.compare(linkFieldName(field), Qt::CaseInsensitive) == 0)
            return field;
    }
    return std::nullopt;
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

QVariant LinkTable::value(int row, QStringView fieldName) const
{
    const auto field = linkFieldByName(fieldName);
    return field ? value(row, *field) : QVariant();
}

} // namespace quillon
