#pragma once

#include "links/listedlink.h"

#include <QCoreApplication>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace quillon {

class Dialogs;
class LinkTable;
class WindowSettings;

// The window's file commands: Save As for the ticked links, and reading a list written before.
// Each remembers its folder and file type in the settings.
class ListFiles {
    Q_DECLARE_TR_FUNCTIONS(ListFiles)
public:
    ListFiles(Dialogs &dialogs, WindowSettings &settings);

    // Asks for a file name and type among those of the output option, and writes the ticked
    // links there. With nothing ticked it asks first. A name typed without an extension gets
    // the type's.
    void writeToFile(QWidget *window, const LinkTable &table, const QString &optionKey);

    // Asks for a written list and reads it; none when cancelled or unreadable (said).
    std::optional<std::vector<ListedLink>> readWrittenList(QWidget *window);

private:
    Dialogs &m_dialogs;
    WindowSettings &m_settings;
};

} // namespace quillon
