#include "Comandos.h"

#include "ArchivoFuente.h"
#include "Avisos.h"
#include "ColumnCode.h"
#include "FontRecord.h"
#include "mdlArchivos.h"

namespace fontfile {
namespace {

const QString MensajeFormato = QStringLiteral("Error: El archivo no tiene el formato adecuado.");
const QString MensajeNoEscribe = QStringLiteral("No se puede escribir el archivo.");
const QString MensajeSinCaracter = QStringLiteral("Seleccione un caracter de la lista.");
const QString MensajeSinArchivo = QStringLiteral("Debe seleccionar un archivo de trabajo.");

Resultado alNombre() { return Resultado{.focoAlNombre = true}; }

// A "/" in the name would reach outside the working folder.
bool nombreFueraDeCarpeta(const QString& nombre) {
  if (!nombre.contains(QLatin1Char('/'))) return false;
  avisos::informar(QStringLiteral("El nombre del archivo no puede contener una barra (/)."));
  return true;
}

// The checks that storing and loading share, in their order. Empty when the
// command may go on.
std::optional<Resultado> comprobarEntradas(const QString& ruta, const QString& nombre, const QString& caracter) {
  if (caracter.isEmpty()) {
    avisos::informar(MensajeSinCaracter);
    return Resultado{};
  }
  if (nombre.isEmpty()) {
    avisos::informar(MensajeSinArchivo);
    return alNombre();
  }
  if (nombreFueraDeCarpeta(nombre) || !ExisteArchivo(ruta, Verdadero)) return alNombre();
  return std::nullopt;
}

bool preguntarSobreescribir() {
  const avisos::Aviso pregunta{QStringLiteral("El caracter ya existe, desea sobreescribirlo?"),
                               QStringLiteral("Sobreescribe el caracter?"), avisos::Botones::SiNo,
                               avisos::Icono::Ninguno};
  return avisos::mostrar(pregunta) == avisos::Respuesta::Si;
}

// False when the user chose not to overwrite. The search, the count and the
// write go through one open file, locked, that the path still names.
bool grabarBloqueado(const QString& ruta, const QByteArray& caracter, const glyph::GlyphGrid& dibujo) {
  bool confirmado = false;
  // A file replaced again and again while it is opened is left alone in
  // the end rather than chased for ever.
  for (int intento = 0; intento < 100; ++intento) {
    {
      ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Escritura);
      if (!archivo.bloquear(ArchivoFuente::Bloqueo::Exclusivo)) continue;
      const RegistrosLeidos registros = leerRegistros(archivo);
      std::int16_t k = BuscarCaracter(registros, caracter);
      if (k == 0 || confirmado) {
        if (k == 0) {
          k = ProximoRegistro(registros);
          // A tail that is not a whole slot would be overwritten by the append.
          if (registros.longitud % LongitudRegistro != 0) throw ErrorArchivo(Falla::FormatoIncorrecto);
        }
        archivo.grabarRanura(qint64(k - 1) * LongitudRegistro,
                             escribirRanura(FontRecord{caracter, glyph::codigosDelDibujo(dibujo)}));
        return true;
      }
    }
    // The file is closed while the user thinks, so nobody waits on its lock;
    // the search is made again after the answer, since another editor may
    // have stored since.
    if (!preguntarSobreescribir()) return false;
    confirmado = true;
  }
  throw ErrorArchivo(Falla::NoSePuedeEscribir);
}

}  // namespace

QString rutaDeTrabajo(const QString& carpeta, const QString& nombre) { return carpeta + QLatin1Char('/') + nombre; }

Resultado crearArchivo(const QString& carpeta, const QString& nombre) {
  const QString ruta = rutaDeTrabajo(carpeta, nombre);
  if (nombre.isEmpty()) {
    avisos::informar(QStringLiteral("Debe escribir un nombre para el archivo."));
    return alNombre();
  }
  if (nombreFueraDeCarpeta(nombre)) return alNombre();
  if (ExisteArchivo(ruta, Falso)) {
    avisos::informar(QStringLiteral("El archivo ya existe."));
    return alNombre();
  }
  try {
    crearVacio(ruta);
  } catch (const ErrorArchivo&) {
    avisos::informar(QStringLiteral("No se puede crear el archivo \"") + ruta + QStringLiteral("\"."));
    return alNombre();
  }
  return Resultado{.hecho = true};
}

Resultado grabarCaracter(const QString& carpeta, const QString& nombre, const QString& caracter,
                         const glyph::GlyphGrid& dibujo) {
  const QString ruta = rutaDeTrabajo(carpeta, nombre);
  if (auto detenido = comprobarEntradas(ruta, nombre, caracter)) return *detenido;
  try {
    if (!grabarBloqueado(ruta, aWindows1252(caracter), dibujo)) return Resultado{};
  } catch (const ErrorArchivo& e) {
    switch (e.falla()) {
      case Falla::FormatoIncorrecto:
        avisos::informar(MensajeFormato);
        break;
      case Falla::Desbordamiento:
        avisos::informar(QStringLiteral("El archivo está lleno: no admite más de 32767 caracteres."));
        break;
      default:
        avisos::informar(MensajeNoEscribe);
        break;
    }
    return Resultado{};
  }
  return Resultado{.hecho = true};
}

Resultado leerCaracter(const QString& carpeta, const QString& nombre, const QString& caracter) {
  const QString ruta = rutaDeTrabajo(carpeta, nombre);
  if (auto detenido = comprobarEntradas(ruta, nombre, caracter)) return *detenido;
  try {
    ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
    archivo.bloquear(ArchivoFuente::Bloqueo::Compartido);
    const RegistrosLeidos registros = leerRegistros(archivo);
    const std::int16_t k = BuscarCaracter(registros, aWindows1252(caracter));
    if (k == 0) {
      avisos::informar(QStringLiteral("El carácter ") + caracter + QStringLiteral(" no está en el archivo."));
      return Resultado{};
    }
    const auto registro = leerRanura(registros.datos.constData() + qsizetype(k - 1) * LongitudRegistro);
    return Resultado{.hecho = true, .dibujo = glyph::dibujoDeCodigos(registro->columnas)};
  } catch (const ErrorArchivo& e) {
    switch (e.falla()) {
      case Falla::FormatoIncorrecto:
        avisos::informar(MensajeFormato);
        break;
      case Falla::Desbordamiento:
        avisos::informar(QStringLiteral("Error: El archivo tiene más de 32767 registros."));
        break;
      default:
        avisos::informar(QStringLiteral("No se puede leer el archivo."));
        break;
    }
    return Resultado{};
  }
}

bool formatoAdecuado(const QString& ruta) {
  try {
    ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
    archivo.bloquear(ArchivoFuente::Bloqueo::Compartido);
    // A file too short for a length field holds no record that could fail.
    const QByteArray registro1 = archivo.leer(0, LongitudRegistro);
    if (registro1.size() >= BytesLongitud && !ranuraLegible(registro1.constData())) {
      avisos::informar(MensajeFormato);
      return false;
    }
    return true;
  } catch (const ErrorArchivo&) {
    return false;
  }
}

}  // namespace fontfile
