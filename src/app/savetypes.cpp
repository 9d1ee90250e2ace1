#include "app/savetypes.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace quillon {

namespace {
// Kept apart from any widget: Save As, settings and tests read the same list.
class SaveTypes {
    Q_DECLARE_TR_FUNCTIONS(SaveTypes)
public:
    static QList<OutputOption> all()
    {
        return {
            {QStringLiteral("dat"),
             {{QStringLiteral("dat"), OutputKind::Dat, tr("DAT"), QStringLiteral("dat")}}},
            {QStringLiteral("html"),
             {{QStringLiteral("html"), OutputKind::Html, tr("Web page"), QStringLiteral("html")},
              {QStringLiteral("bookmarks"), OutputKind::Bookmarks, tr("Bookmarks for browsers"),
               QStringLiteral("html")},
              {QStringLiteral("markdown"), OutputKind::Markdown, tr("Markdown"),
               QStringLiteral("md")},
              {QStringLiteral("json"), OutputKind::Json, tr("JSON"), QStringLiteral("json")},
              {QStringLiteral("csv"), OutputKind::Csv, tr("CSV for spreadsheets"),
               QStringLiteral("csv")}}},
        };
    }
};
} // namespace

OutputOption outputOption(const QString &key)
{
    const QList<OutputOption> options = SaveTypes::all();
    for (const OutputOption &option : options) {
        if (option.key == key)
            return option;
    }
    return options.first();
}

QString fileFilter(const QList<SaveType> &types)
{
    QStringList parts;
    for (const SaveType &type : types) {
        const QString pattern = QStringLiteral("*.") + type.extension;
        parts << QStringLiteral("%1 (%2)").arg(type.description, pattern) << pattern;
    }
    return parts.join(u'|');
}

QString withExtension(const QString &fileName, const SaveType &type)
{
    if (!QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + u'.' + type.extension;
}

} // namespace quillon
