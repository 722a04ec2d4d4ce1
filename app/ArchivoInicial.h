#pragma once
// A font file given to the editor when it starts, as the file manager does
// for "Open with": its folder is listed instead of the working folder below
// the current directory, and its name is the working file, so that stores
// go into the file that was opened.

#include <QString>

// The folder start-up lists: `porDefecto` when no file was given, else the
// file's own folder.
QString carpetaInicial(const QString& archivo, const QString& porDefecto);

// The name the name box starts with: the file's name when it can be worked
// on. A file that does not exist yet keeps its name, after a message, so
// that "Crear" makes it; any other file that cannot be used leaves the box
// empty after a message that says why.
QString nombreInicial(const QString& archivo);
