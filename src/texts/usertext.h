#pragma once

#include <QCoreApplication>
#include <QString>

namespace quillon {

// A text users read, marked with QT_TRANSLATE_NOOP where it is defined so that lupdate finds
// it, and translated only where it is shown.
struct UserText {
    const char *context;
    const char *source;

    QString english() const { return QString::fromUtf8(source); }
    // In the language of the translators installed; English when there are none.
    QString translated() const { return QCoreApplication::translate(context, source); }
};

} // namespace quillon
