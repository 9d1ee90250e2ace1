#pragma once

#include <QString>

#include <optional>

namespace quillon {

struct LinkRecord;

// A ticked link as the data formats (JSON and CSV) write it: the folder as the grid names its
// group (empty for the start folder's own links), the site name and the address in the form
// every written list keeps them, and the link's date in UTC as "YYYY-MM-DDThh:mm:ssZ", none
// when it has none or when it lies outside the years 1 to 9999 that form can hold.
struct LinkFields {
    QString folder;
    QString site;
    QString address;
    std::optional<QString> date;
};

LinkFields linkFields(const LinkRecord &record, const QString &groupFolderName);

} // namespace quillon
