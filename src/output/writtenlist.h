#pragma once

#include "links/listedlink.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

// Reads a list Quillon wrote, of any OutputKind, into its links in file order. No bytes at all
// (the DAT list or page of an empty folder) are a list without links. No value, with a reason
// in errorText, for bytes that are no such list (told by their first line that is not blank,
// which must start within 64 KiB) or that end before the list does.
std::optional<std::vector<ListedLink>> readWrittenList(QByteArrayView bytes,
                                                       QString *errorText = nullptr);

// No list file Quillon reads is bigger than this; a bigger file is refused unread.
inline constexpr qint64 WrittenListSizeLimit = 256 * 1024 * 1024;

// Reads the list file at path. The error text names the file and says what is wrong.
std::optional<std::vector<ListedLink>> loadWrittenList(const QString &path,
                                                       QString *errorText = nullptr);

} // namespace quillon
