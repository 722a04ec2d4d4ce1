#include "ArchivoDeTrabajo.h"

NombreRevisado revisarNombre(const QString& t) {
  const qsizetype n = t.size();
  const QString completo = t + QStringLiteral(".mtz");
  if (n == 0) return {t, {}};
  if (n < 4) return {completo, {}};
  if (t.at(n - 4) != QLatin1Char('.')) return {completo, {}};
  const QString extension = t.right(3);
  if (extension == QStringLiteral("mtz")) return {t, {}};
  return {t, extension};
}
