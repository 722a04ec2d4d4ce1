#pragma once
// The rule for a font file name typed into the name box: a name without the
// extension "mtz" gets it; a name with another three-letter extension is
// refused. A name has an extension only when a full stop stands exactly four
// characters from its end, and the comparison is case-sensitive.

#include <QString>

struct NombreRevisado {
  QString texto;                // the box's text after the rule
  QString extensionIncorrecta;  // not empty: the extension that was refused
  bool incorrecto() const { return !extensionIncorrecta.isEmpty(); }
};

NombreRevisado revisarNombre(const QString& texto);
