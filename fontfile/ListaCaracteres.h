#pragma once
// The 121 characters a font can hold, in the order the character list shows
// them. Each one has a one-byte form in Windows-1252.

#include <QStringList>

namespace fontfile {

const QStringList& ListaCaracteres();

}  // namespace fontfile
