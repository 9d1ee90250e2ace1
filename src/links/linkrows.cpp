#include "links/linkrows.h"

#include "links/scriptaddress.h"

namespace quillon {

LinkRecord LinkRowMaker::rowFor(FoundShortcut &&found)
{
    LinkRecord record;
    if (!found.folder.isEmpty() && found.folder != m_lastFolder) {
        record.folderName = found.folder;
        m_lastFolder = std::move(found.folder);
    }
    // Script links are never published by accident: they start unticked.
    record.ticked = !isScriptAddress(found.content.address);
    record.modifiedAt = found.content.modifiedAt ? found.content.modifiedAt : found.fileTime;
    record.siteName = siteNameOf(std::move(found.fileName), found.format, found.content);
    record.address = std::move(found.content.address);
    return record;
}

} // namespace quillon
