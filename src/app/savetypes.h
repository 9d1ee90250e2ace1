#pragma once

#include "output/linklistwriter.h"

#include <QList>
#include <QString>

namespace quillon {

// A kind of file Save As can write.
struct SaveType {
    QString key;         // how settings name it
    OutputKind kind;     // what is written
    QString description; // as the file dialog lists it
    QString extension;   // without the dot; added to a name typed without one
};

// The window's output options (.DAT, .HTML), each offering its file types in order; the first
// is the one offered when nothing was chosen before.
struct OutputOption {
    QString key;
    QList<SaveType> types;
};

// The option with this key; the first for an unknown key.
OutputOption outputOption(const QString &key);

// "Description (*.ext)|*.ext|..." as the dialogs take it.
QString fileFilter(const QList<SaveType> &types);

// The name with the type's extension added when the name has no extension of its own.
QString withExtension(const QString &fileName, const SaveType &type);

} // namespace quillon
