#include "Comandos.h"

#include "ArchivoFuente.h"
#include "Avisos.h"
#include "ColumnCode.h"
#include "FontRecord.h"
#include "Textos.h"
#include "mdlArchivos.h"

namespace fontfile {
namespace {

Resultado alNombre() { return Resultado{.focoAlNombre = true}; }

// A "/" in the name would reach outside the working folder.
bool nombreFueraDeCarpeta(const QString& nombre) {
  if (!nombre.contains(QLatin1Char('/'))) return false;
  avisos::informar(textos::NombreConBarra);
  return true;
}

// The checks that storing and loading share, in their order. Empty when the
// command may go on.
std::optional<Resultado> comprobarEntradas(const QString& ruta, const QString& nombre, const QString& caracter) {
  if (caracter.isEmpty()) {
    avisos::informar(textos::SinCaracter);
    return Resultado{};
  }
  if (nombre.isEmpty()) {
    avisos::informar(textos::SinArchivoDeTrabajo);
    return alNombre();
  }
  if (nombreFueraDeCarpeta(nombre) || !ExisteArchivo(ruta, Verdadero)) return alNombre();
  return std::nullopt;
}

bool preguntarSobreescribir() {
  const avisos::Aviso pregunta{textos::PreguntaSobreescribir, textos::TituloSobreescribir, avisos::Botones::SiNo,
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
                             codificarRanura(FontRecord{caracter, glyph::codigosDelDibujo(dibujo)}));
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
    avisos::informar(textos::SinNombreParaCrear);
    return alNombre();
  }
  if (nombreFueraDeCarpeta(nombre)) return alNombre();
  if (ExisteArchivo(ruta, Falso)) {
    avisos::informar(textos::ArchivoYaExiste);
    return alNombre();
  }
  try {
    crearVacio(ruta);
  } catch (const ErrorArchivo&) {
    avisos::informar(textos::noSePuedeCrear(ruta));
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
        avisos::informar(textos::FormatoInadecuado);
        break;
      case Falla::Desbordamiento:
        avisos::informar(textos::ArchivoLleno);
        break;
      default:
        avisos::informar(textos::NoSePuedeEscribir);
        break;
    }
    return Resultado{};
  }
  return Resultado{.hecho = true};
}

Resultado cargarCaracter(const QString& carpeta, const QString& nombre, const QString& caracter) {
  const QString ruta = rutaDeTrabajo(carpeta, nombre);
  if (auto detenido = comprobarEntradas(ruta, nombre, caracter)) return *detenido;
  try {
    ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
    archivo.bloquear(ArchivoFuente::Bloqueo::Compartido);
    const RegistrosLeidos registros = leerRegistros(archivo);
    const std::int16_t k = BuscarCaracter(registros, aWindows1252(caracter));
    if (k == 0) {
      avisos::informar(textos::caracterNoEstaEnArchivo(caracter));
      return Resultado{};
    }
    const auto registro = decodificarRanura(registros.datos.constData() + qsizetype(k - 1) * LongitudRegistro);
    return Resultado{.hecho = true, .dibujo = glyph::dibujoDeCodigos(registro->columnas)};
  } catch (const ErrorArchivo& e) {
    switch (e.falla()) {
      case Falla::FormatoIncorrecto:
        avisos::informar(textos::FormatoInadecuado);
        break;
      case Falla::Desbordamiento:
        avisos::informar(textos::DemasiadosRegistros);
        break;
      default:
        avisos::informar(textos::NoSePuedeLeer);
        break;
    }
    return Resultado{};
  }
}

bool formatoAdecuado(const QString& ruta) {
  try {
    // Opened for writing too: a font the user cannot write is no working file.
    ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Escritura);
    archivo.bloquear(ArchivoFuente::Bloqueo::Compartido);
    // A file too short for a length field holds no record that could fail.
    const QByteArray registro1 = archivo.leer(0, LongitudRegistro);
    if (registro1.size() >= BytesLongitud && !ranuraLegible(registro1.constData())) {
      avisos::informar(textos::FormatoInadecuado);
      return false;
    }
    return true;
  } catch (const ErrorArchivo&) {
    return false;
  }
}

}  // namespace fontfile
