#include "scan/walkfolder.h"

namespace quillon {

namespace {
constexpr size_t KeptParents = 4;
}

std::shared_ptr<OpenFolder> FolderOpener::open(WalkFolder &folder, bool asParent)
{
    const std::lock_guard lock(folder.m_openMutex);
    if (auto opened = folder.m_whileOpen.lock())
        return opened;
    std::shared_ptr<OpenFolder> opened;
    if (!folder.parent) {
        opened = m_fs.openFolder(folder.path);
        m_start = opened;
    } else if (const auto parent = open(*folder.parent, true)) {
        opened = parent->openFolder(folder.name);
    }
    folder.m_whileOpen = opened;
    if (asParent && opened && folder.parent) {
        std::shared_ptr<OpenFolder> oldest; // closed once the lock is let go
        const std::lock_guard keptLock(m_keptMutex);
        m_kept.push_back(opened);
        if (m_kept.size() > KeptParents) {
            oldest = std::move(m_kept.front());
            m_kept.pop_front();
        }
    }
    return opened;
}

} // namespace quillon
