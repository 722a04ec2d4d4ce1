#include "Fuente.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <array>

#include "ArchivoFuente.h"
#include "Fallo.h"
#include "ListaCaracteres.h"

namespace mtz {

using fontfile::LongitudRegistro;
using fontfile::MaximoRegistros;

Fuente leerFuente(const QString& ruta) {
  Fuente fuente;
  fuente.ruta = ruta;
  try {
    fontfile::ArchivoFuente archivo(ruta, fontfile::ArchivoFuente::Modo::Lectura);
    // Shared, like the editor's reads: a store in progress is never seen half done.
    archivo.bloquear(fontfile::ArchivoFuente::Bloqueo::Compartido);
    fuente.leidos = fontfile::leerRegistros(archivo);
    fuente.pendiente = archivo.pendiente();
  } catch (const fontfile::ErrorArchivo& e) {
    switch (e.falla()) {
      case fontfile::Falla::NoExiste:
        throw Fallo(QStringLiteral("%1: el archivo no existe").arg(ruta));
      case fontfile::Falla::NoSePuedeAbrir:
        throw Fallo(QStringLiteral("%1: no se puede abrir el archivo").arg(ruta));
      default:
        throw Fallo(QStringLiteral("%1: no se puede leer el archivo").arg(ruta));
    }
  }
  fuente.ranurasCompletas = fuente.leidos.longitud / LongitudRegistro;
  fuente.cola = static_cast<int>(fuente.leidos.longitud % LongitudRegistro);
  const qsizetype ranuras = fuente.leidos.datos.size() / LongitudRegistro;
  fuente.entradas.reserve(static_cast<size_t>(ranuras));
  for (qsizetype i = 0; i < ranuras; ++i) {
    const char* ranura = fuente.leidos.datos.constData() + i * LongitudRegistro;
    fuente.entradas.push_back({static_cast<int>(i + 1), qint64{i} * LongitudRegistro,
                               fontfile::longitudDeCaracter(ranura), fontfile::decodificarRanura(ranura)});
  }
  return fuente;
}

std::optional<fontfile::Pendiente> reparar(const QString& ruta) {
  try {
    // As a store does: a file replaced while it is locked is opened again.
    for (int intento = 0; intento < 100; ++intento) {
      fontfile::ArchivoFuente archivo(ruta, fontfile::ArchivoFuente::Modo::Escritura);
      if (archivo.bloquear(fontfile::ArchivoFuente::Bloqueo::Exclusivo)) return archivo.pendiente();
    }
  } catch (const fontfile::ErrorArchivo&) {
    if (!QFileInfo::exists(ruta)) throw Fallo(QStringLiteral("%1: el archivo no existe").arg(ruta));
  }
  throw Fallo(QStringLiteral("%1: no se puede escribir el archivo").arg(ruta));
}

glyph::Codigos codigosVisibles(const glyph::Codigos& guardados) {
  return glyph::codigosDelDibujo(glyph::dibujoDeCodigos(guardados));
}

int anchoUsado(const glyph::Codigos& codigos) {
  const glyph::Codigos visibles = codigosVisibles(codigos);
  for (int c = glyph::Columnas; c >= 1; --c) {
    if (visibles[c - 1] != 0) return c;
  }
  return 0;
}

QString textoDe(const QByteArray& caracter1252) {
  static const std::array<QChar, 256> porByte = [] {
    std::array<QChar, 256> tabla{};
    for (int b = 0; b < 256; ++b) {
      const QString texto = fontfile::deWindows1252(QByteArray(1, static_cast<char>(b)));
      tabla[static_cast<size_t>(b)] = texto.size() == 1 ? texto[0] : QChar(QChar::ReplacementCharacter);
    }
    return tabla;
  }();
  QString texto;
  texto.reserve(caracter1252.size());
  for (const char b : caracter1252) texto += porByte[static_cast<uchar>(b)];
  return texto;
}

QString caracterLegible(const QByteArray& caracter1252) {
  QString texto = textoDe(caracter1252);
  if (caracter1252.size() == 1 && texto.size() == 1 && texto[0].isPrint() && texto[0] != QChar::ReplacementCharacter) {
    return texto;
  }
  if (caracter1252.isEmpty()) return QStringLiteral("\"\"");
  QString escrito;
  for (const char b : caracter1252)
    escrito += QStringLiteral("\\x%1").arg(static_cast<uchar>(b), 2, 16, QLatin1Char('0'));
  return escrito;
}

namespace {

QString donde(qint64 desplazamiento) {
  return QStringLiteral("registro %1 (byte %2)").arg(desplazamiento / LongitudRegistro + 1).arg(desplazamiento);
}
QString donde(const Entrada& e) { return donde(e.desplazamiento); }

}  // namespace

QString desgarrado(const fontfile::Deshacer& d) { return donde(d.desde); }

QString ilegible(const Entrada& e) {
  return QStringLiteral("%1: longitud de carácter %2, no se puede leer").arg(donde(e)).arg(e.longitud);
}

QStringList revisar(const Fuente& fuente) {
  QStringList problemas;
  // Faults of the whole file first: a broken file can have more faults than check shows.
  if (const auto& p = fuente.pendiente) {
    problemas << QStringLiteral("%1: a medio %2 en el disco por una grabación cortada; lo deshace mtz repair con %3")
                     .arg(desgarrado(p->d), p->d.esAgregado() ? QStringLiteral("agregar") : QStringLiteral("grabar"),
                          QFile::decodeName(p->ruta));
  }
  if (fuente.ranurasCompletas > MaximoRegistros) {
    problemas << QStringLiteral("byte %1: el archivo tiene %2 registros, más de %3")
                     .arg(qint64{MaximoRegistros} * LongitudRegistro)
                     .arg(fuente.ranurasCompletas)
                     .arg(MaximoRegistros);
  }
  if (fuente.cola != 0) {
    problemas << QStringLiteral("byte %1: registro incompleto al final, %2 bytes de %3")
                     .arg(fuente.ranurasCompletas * LongitudRegistro)
                     .arg(fuente.cola)
                     .arg(LongitudRegistro);
  }
  const auto& lista = fontfile::ListaCaracteres();
  QHash<QByteArray, int> vistos;
  for (const Entrada& e : fuente.entradas) {
    if (!e.registro) {
      problemas << QStringLiteral("%1: longitud de carácter %2, no cabe en la ranura (máximo %3)")
                       .arg(donde(e))
                       .arg(e.longitud)
                       .arg(fontfile::MaximaLongitudCaracter);
      continue;
    }
    const QByteArray& caracter = e.registro->caracter;
    const QString legible = caracterLegible(caracter);
    if (caracter.size() != 1 || !lista.contains(textoDe(caracter))) {
      problemas << QStringLiteral("%1: el carácter %2 no está en la lista de 121").arg(donde(e), legible);
    }
    const auto anterior = vistos.constFind(caracter);
    if (anterior != vistos.constEnd()) {
      problemas << QStringLiteral("%1: el carácter %2 ya está en el registro %3").arg(donde(e), legible).arg(*anterior);
    } else {
      vistos.insert(caracter, e.numero);
    }
    for (int c = 0; c < glyph::Columnas; ++c) {
      const int codigo = e.registro->columnas[c];
      if (codigo < 0 || codigo > 127) {
        problemas << QStringLiteral("%1: el código de la columna %2 es %3, fuera de 0..127")
                         .arg(donde(e))
                         .arg(c + 1)
                         .arg(codigo);
      }
    }
  }
  return problemas;
}

Busqueda buscar(const Fuente& fuente, const QString& caracter) {
  const QByteArray buscado = fontfile::aWindows1252(caracter);
  // A character with no Windows-1252 form comes out as '?', which must not match '?'.
  if (textoDe(buscado) != caracter) return {};
  // The editor's own search, so that mtz finds what the editor loads.
  try {
    const int numero = fontfile::BuscarCaracter(fuente.leidos, buscado);
    return {numero > 0 ? &fuente.entradas[static_cast<size_t>(numero) - 1] : nullptr, nullptr};
  } catch (const fontfile::ErrorArchivo& e) {
    if (e.falla() != fontfile::Falla::FormatoIncorrecto) return {};  // not within the first 32767 records
    for (const Entrada& entrada : fuente.entradas) {
      if (!entrada.registro) return {nullptr, &entrada};
    }
    throw;
  }
}

QString sinResultado(const Fuente& fuente, const Busqueda& busqueda, const QString& caracter) {
  if (busqueda.detenidaEn) {
    return QStringLiteral("%1: %2; la búsqueda de %3 se detiene ahí")
        .arg(fuente.ruta, ilegible(*busqueda.detenidaEn), caracter);
  }
  return QStringLiteral("%1: el carácter %2 no está en la fuente").arg(fuente.ruta, caracter);
}

}  // namespace mtz
