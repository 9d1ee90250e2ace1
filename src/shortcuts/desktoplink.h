#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quillon {

// What a freedesktop ".desktop" file of Type=Link says about its link.
struct DesktopLink {
    QString address; // the URL key (KDE writes URL[$e]), escapes decoded; empty when missing
    QString name;    // the Name key, escapes decoded; empty when missing
};

// Reads the [Desktop Entry] group of a ".desktop" file. No value when the file is not a link
// (an application launcher, a directory entry, or no Type=Link at all).
std::optional<DesktopLink> readDesktopLink(QByteArrayView bytes);

} // namespace quillon
