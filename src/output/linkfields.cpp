#include "output/linkfields.h"

#include "links/linktable.h"
#include "links/listedlink.h"

#include <QDateTime>

namespace quillon {

LinkFields linkFields(const LinkRecord &record, const QString &groupFolderName)
{
    LinkFields fields{listedSiteName(groupFolderName), listedSiteName(record.siteName),
                      listedAddress(record.address), std::nullopt};
    if (record.modifiedAt) {
        const QDateTime date = QDateTime::fromSecsSinceEpoch(*record.modifiedAt, Qt::UTC);
        const QDate day = date.date();
        const QTime time = date.time();
        if (date.isValid() && day.year() >= 1 && day.year() <= 9999)
            fields.date =
                QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02dZ", day.year(), day.month(),
                                  day.day(), time.hour(), time.minute(), time.second());
    }
    return fields;
}

} // namespace quillon
