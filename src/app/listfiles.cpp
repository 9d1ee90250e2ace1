#include "app/listfiles.h"

#include "texts/windowtexts.h"

#include "app/dialogs.h"
#include "app/savetypes.h"
#include "app/windowsettings.h"
#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "output/writtenlist.h"

#include <QFileInfo>

#include <algorithm>

namespace quillon {

ListFiles::ListFiles(Dialogs &dialogs, WindowSettings &settings)
    : m_dialogs(dialogs)
    , m_settings(settings)
{}

void ListFiles::writeToFile(QWidget *window, const LinkTable &table, const QString &optionKey)
{
    const auto &records = table.records();
    if (std::none_of(records.begin(), records.end(),
                     [](const LinkRecord &r) { return r.ticked; }) &&
        !m_dialogs.askYesNo(window, tr("No link is ticked. Write an empty list anyway?"),
                            tr("Write To File")))
        return;

    // The name and type used last for this output option are offered again.
    const OutputOption option = outputOption(optionKey);
    const std::optional<WindowSettings::SaveChoice> last = m_settings.saveChoice(option.key);
    int type = 0;
    for (qsizetype i = 0; last && i < option.types.size(); ++i) {
        if (option.types[i].key == last->type)
            type = int(i);
    }
    const std::optional<QString> name = m_dialogs.askSaveFileNameAndType(
        window, tr("Save As"), fileFilter(option.types), last ? last->fileName : QString(), &type);
    if (!name || name->isEmpty())
        return;
    const SaveType &chosen = option.types.value(type, option.types.first());
    const QString path = withExtension(*name, chosen);

    // The dialog asked about replacing the name as typed, not the one with the extension.
    bool declined = false;
    const auto mayReplace = [&] {
        declined = path != *name && QFileInfo::exists(path) &&
                   !m_dialogs.askYesNo(window,
                                       tr("%1 already exists.\nDo you want to replace it?")
                                           .arg(QFileInfo(path).fileName()),
                                       tr("Save As"));
        return !declined;
    };
    QString error;
    if (!saveLinkList(path, table, chosen.kind, &error, mayReplace)) {
        if (declined)
            return;
        m_dialogs.showMessage(window, error, tr("Error"), Dialogs::Icon::Critical);
        return;
    }
    m_settings.setSaveChoice(option.key, {path, chosen.key});
    // Reported only once the file is safely in place.
    m_dialogs.showMessage(
        window,
        windowtexts::written(std::ranges::count(table.records(), true, &LinkRecord::ticked), path),
        tr("Success"), Dialogs::Icon::None);
}

std::optional<std::vector<ListedLink>> ListFiles::readWrittenList(QWidget *window)
{
    const std::optional<QString> name =
        m_dialogs.askOpenFileName(window, tr("Tick As In A Written List"),
                                  windowtexts::writtenListTypes(), m_settings.writtenListFolder());
    if (!name || name->isEmpty())
        return std::nullopt;
    m_settings.setWrittenListFolder(QFileInfo(*name).absolutePath());
    QString error;
    auto links = loadWrittenList(*name, &error);
    if (!links)
        m_dialogs.showMessage(window, error, tr("Error"), Dialogs::Icon::Critical);
    return links;
}

} // namespace quillon
