#include "Programa.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cstdio>
#include <new>

#include "Exportar.h"
#include "Fallo.h"
#include "Fuente.h"
#include "ImportarBdf.h"
#include "ImportarTipografia.h"
#include "Pintar.h"
#include "Salida.h"
#include "TextoArte.h"

namespace mtz {
namespace {

// An argument as the system gave it and as text.
struct Argumento {
  QString texto;
  QByteArray crudo;
};

struct Linea {
  QString orden;
  QList<Argumento> posicionales;
  QHash<QString, Argumento> valores;  // by the option's long name; a switch has an empty value

  bool tiene(const char* opcion) const { return valores.contains(QLatin1String(opcion)); }
  QString valor(const char* opcion) const { return valores.value(QLatin1String(opcion)).texto; }
};

// Every option, in the order --help lists them. A new option is one row here
// and its name in the commands that take it.
struct Opcion {
  QString nombre;
  QString corto;
  QString valor;  // what follows it, as --help shows it; nothing for a switch
  QString ayuda;
};

const QList<Opcion>& opciones() {
  static const QList<Opcion> lista = {
      {QStringLiteral("--output"), QStringLiteral("-o"), QStringLiteral("ARCHIVO"),
       QStringLiteral("escribe en ARCHIVO (entero o nada) en vez de la salida estándar")},
      {QStringLiteral("--format"), {}, QStringLiteral("FORMATO"), listaDeFormatos()},
      {QStringLiteral("--order"),
       {},
       QStringLiteral("columns|rows"),
       QStringLiteral("los bytes de cada carácter por columnas (uno por columna) o por filas (dos por fila, el punto "
                      "de la izquierda primero); columns si no se indica, rows en gfx")},
      {QStringLiteral("--bit-order"),
       {},
       QStringLiteral("lsb|msb"),
       QStringLiteral("el bit que toma la fila de arriba, o el punto de la izquierda: el 0 (lsb) o el 7 (msb); lsb "
                      "si no se indica, msb en gfx")},
      {QStringLiteral("--invert"),
       {},
       {},
       QStringLiteral("un punto encendido es un bit 0 y uno apagado un bit 1, para los LED que se encienden con un 0")},
      {QStringLiteral("--scale"),
       {},
       QStringLiteral("N"),
       QStringLiteral("píxeles por punto de la imagen, de 1 a 64 (8 si no se indica)")},
      {QStringLiteral("--family"),
       {},
       QStringLiteral("FAMILIA"),
       QStringLiteral("importa la tipografía instalada de esa familia en vez de un archivo")},
      {QStringLiteral("--size"),
       {},
       QStringLiteral("PX"),
       QStringLiteral("píxeles por cuadratín a los que se dibuja una tipografía, de 1 a 128; si no se indica, de "
                      "los tamaños en que de la A a la Z caben en las 7 filas sobre la línea base, el que mejor "
                      "distingue los caracteres (Ñ de N, Ç de C, g de q). Una fuente de mapas de bits solo se lee "
                      "en uno de sus tamaños: el indicado, o el mayor en que caben sus mayúsculas")},
      {QStringLiteral("--threshold"),
       {},
       QStringLiteral("N"),
       QStringLiteral("dibuja la tipografía con suavizado y enciende cada punto cubierto en más de N (0 a 255); sin "
                      "él se dibuja sin suavizado")},
      {QStringLiteral("--help"), QStringLiteral("-h"), {}, QStringLiteral("muestra esta ayuda")},
      {QStringLiteral("--version"), {}, {}, QStringLiteral("muestra la versión")},
  };
  return lista;
}

const Opcion* opcion(const QString& nombre) {
  for (const Opcion& o : opciones()) {
    if (nombre == o.nombre || (!o.corto.isEmpty() && nombre == o.corto)) return &o;
  }
  return nullptr;
}

Fallo uso(const QString& mensaje) { return Fallo(mensaje + QStringLiteral(" (vea mtz --help)"), EstadoUso); }

void imprimir(const QString& texto) {
  const QByteArray b = texto.toUtf8();
  if (std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stdout) != static_cast<size_t>(b.size()) ||
      std::fflush(stdout) != 0) {
    throw Fallo(QStringLiteral("no se puede escribir en la salida estándar"));
  }
}

void decir(const QString& texto) {
  const QByteArray b = (QStringLiteral("mtz: ") + texto + QLatin1Char('\n')).toUtf8();
  // Standard error is where a failure would be told: there is nowhere left to
  // say that writing there failed.
  (void)std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stderr);
}

// A file can give a warning for each of its 32767 records: the first ones
// tell enough, the rest are counted in one line before the command's last.
constexpr int MaximoAvisos = 200;
struct {
  int dichos = 0;
  qint64 callados = 0;
} cuentaDeAvisos;

void avisar(const QString& texto) {
  if (cuentaDeAvisos.dichos >= MaximoAvisos) {
    ++cuentaDeAvisos.callados;
    return;
  }
  ++cuentaDeAvisos.dichos;
  decir(texto);
}

void cerrarAvisos() {
  if (cuentaDeAvisos.callados > 0) decir(QStringLiteral("... y %1 avisos más").arg(cuentaDeAvisos.callados));
  cuentaDeAvisos = {};
}

Linea analizar(const QList<QByteArray>& argumentos) {
  Linea l;
  bool soloPosicionales = false;
  for (qsizetype i = 0; i < argumentos.size(); ++i) {
    const QByteArray& crudo = argumentos[i];
    const QString a = QFile::decodeName(crudo);
    if (soloPosicionales || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
      if (l.orden.isEmpty()) {
        l.orden = a;
      } else {
        l.posicionales.append({a, crudo});
      }
      continue;
    }
    if (a == QLatin1String("--")) {
      soloPosicionales = true;
      continue;
    }
    const qsizetype igual = a.startsWith(QLatin1String("--")) ? crudo.indexOf('=') : -1;
    const QString nombre = igual < 0 ? a : QFile::decodeName(crudo.left(igual));
    const Opcion* o = opcion(nombre);
    if (!o) throw uso(QStringLiteral("opción desconocida: %1").arg(nombre));
    Argumento valor;
    if (o->valor.isEmpty()) {
      if (igual >= 0) throw uso(QStringLiteral("%1 no lleva valor").arg(o->nombre));
    } else {
      if (igual < 0 && i + 1 >= argumentos.size()) throw uso(QStringLiteral("falta el valor de %1").arg(nombre));
      valor.crudo = igual < 0 ? argumentos[++i] : crudo.mid(igual + 1);
      valor.texto = QFile::decodeName(valor.crudo);
      if (valor.texto.isEmpty()) throw uso(QStringLiteral("%1 vacía").arg(o->nombre));
    }
    if (l.valores.contains(o->nombre)) throw uso(QStringLiteral("%1 repetida").arg(o->nombre));
    l.valores.insert(o->nombre, valor);
  }
  return l;
}

// The toolkit holds a file name as text. A name whose bytes are not valid
// UTF-8 would come back from it as another name, and that other file would be
// read or written: such a name is refused, shown with its odd bytes as \xNN.
void exigirNombreExacto(const Argumento& a) {
  if (QFile::encodeName(a.texto) == a.crudo) return;
  QString legible;
  for (qsizetype i = 0; i < a.crudo.size();) {
    const auto byte = static_cast<uchar>(a.crudo[i]);
    const qsizetype largo = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 1;
    const QString caracter = QString::fromUtf8(a.crudo.mid(i, largo));
    const bool sano = caracter.size() <= 2 && caracter.toUtf8() == a.crudo.mid(i, largo) && caracter[0].isPrint() &&
                      caracter[0] != QChar::ReplacementCharacter;
    legible += sano ? caracter : QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    i += sano ? largo : 1;
  }
  throw Fallo(QStringLiteral("el nombre del archivo no es UTF-8 válido: %1").arg(legible), EstadoUso);
}

// An output that would replace the input is refused: inputs are never changed.
void salidaDistintaDe(const Linea& l, const QString& entrada) {
  const QString salida = l.valor("--output");
  if (!salida.isEmpty() && salida != QLatin1String("-") && mismoArchivo(entrada, salida)) {
    throw uso(QStringLiteral("la salida %1 es el archivo de entrada").arg(salida));
  }
}

void salidaBinaria(const Linea& l) {
  const QString salida = l.valor("--output");
  if ((salida.isEmpty() || salida == QLatin1String("-")) && ::isatty(STDOUT_FILENO)) {
    throw uso(QStringLiteral("la salida es binaria y no se escribe en la terminal: use -o ARCHIVO"));
  }
}

// The readers take their input line by line, so its size does not matter.
void abrirEntrada(QFile& archivo) {
  const QString ruta = archivo.fileName();
  if (!archivo.exists()) throw Fallo(QStringLiteral("%1: el archivo no existe").arg(ruta));
  // A FIFO would keep the command waiting, a folder has nothing to read.
  if (!QFileInfo(ruta).isFile()) throw Fallo(QStringLiteral("%1: no es un archivo normal").arg(ruta));
  if (!archivo.open(QIODevice::ReadOnly)) throw Fallo(QStringLiteral("%1: no se puede abrir el archivo").arg(ruta));
}

int numeroDeOpcion(const Linea& l, const char* opcion, int minimo, int maximo) {
  bool bien = false;
  const int v = l.valor(opcion).toInt(&bien);
  if (!bien || v < minimo || v > maximo)
    throw uso(QStringLiteral("%1 debe ser un número de %2 a %3").arg(QLatin1String(opcion)).arg(minimo).arg(maximo));
  return v;
}

// import and build refuse alike to write a font with nothing in it.
QByteArray comoFuente(const std::vector<fontfile::FontRecord>& registros, const QString& nombre) {
  if (registros.empty()) throw Fallo(QStringLiteral("%1: ningún carácter; no se escribe nada").arg(nombre));
  if (registros.size() > static_cast<size_t>(fontfile::MaximoRegistros)) {
    throw Fallo(QStringLiteral("%1: más de %2 caracteres").arg(nombre).arg(fontfile::MaximoRegistros));
  }
  QByteArray datos;
  for (const auto& r : registros) {
    const fontfile::Ranura ranura = fontfile::codificarRanura(r);
    datos.append(ranura.data(), fontfile::LongitudRegistro);
  }
  return datos;
}

// list and show give the records the editor can reach and say that more follow.
int avisarExceso(const Fuente& fuente) {
  if (fuente.ranurasCompletas <= fontfile::MaximoRegistros) return 0;
  avisar(QStringLiteral("%1: el archivo tiene %2 registros; se muestran los primeros %3")
             .arg(fuente.ruta)
             .arg(fuente.ranurasCompletas)
             .arg(fontfile::MaximoRegistros));
  return EstadoProblemas;
}

int ordenList(const Linea& l) {
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  QString t;
  int estado = avisarExceso(fuente);
  for (const Entrada& e : fuente.entradas) {
    if (!e.registro) {
      avisar(QStringLiteral("%1: %2").arg(fuente.ruta, ilegible(e)));
      estado = EstadoProblemas;
      continue;
    }
    QStringList codigos;
    for (const int v : e.registro->columnas) {
      codigos << (v >= 0 && v <= 0xff ? QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'))
                                      : QStringLiteral("%1").arg(static_cast<quint16>(v), 4, 16, QLatin1Char('0')));
    }
    t += QStringLiteral("%1  %2  %3  %4\n")
             .arg(e.numero, 5)
             .arg(caracterLegible(e.registro->caracter), -4)
             .arg(codigos.join(QLatin1Char(' ')))
             .arg(anchoUsado(e.registro->columnas), 2);
  }
  escribirSalida({}, t.toUtf8());
  return estado;
}

int ordenShow(const Linea& l) {
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  QString t;
  int estado = avisarExceso(fuente);
  if (l.posicionales.size() == 1) {
    for (const Entrada& e : fuente.entradas) {
      if (e.registro) {
        t += dibujoEnTexto(*e.registro, e.numero) + QLatin1Char('\n');
      } else {
        avisar(QStringLiteral("%1: %2").arg(fuente.ruta, ilegible(e)));
        estado = EstadoProblemas;
      }
    }
  } else {
    for (const QChar c : l.posicionales[1].texto) {
      if (c == QLatin1Char(' ') || c == QLatin1Char('\n')) continue;
      const Busqueda b = buscar(fuente, QString(c));
      if (b.encontrada) {
        t += dibujoEnTexto(*b.encontrada->registro, b.encontrada->numero) + QLatin1Char('\n');
      } else {
        avisar(sinResultado(fuente, b, QString(c)));
        estado = EstadoProblemas;
      }
    }
  }
  escribirSalida({}, t.toUtf8());
  return estado;
}

int ordenCheck(const Linea& l) {
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  const QStringList problemas = revisar(fuente);
  // A broken file can hold millions of faults; the first ones tell enough.
  constexpr qsizetype Mostrados = 200;
  QString t;
  for (qsizetype i = 0; i < std::min(problemas.size(), Mostrados); ++i)
    t += fuente.ruta + QStringLiteral(": ") + problemas[i] + QLatin1Char('\n');
  if (problemas.size() > Mostrados)
    t += QStringLiteral("%1: ... y %2 problemas más\n").arg(fuente.ruta).arg(problemas.size() - Mostrados);
  t += problemas.isEmpty()
           ? QStringLiteral("%1: %2 registros, correcto\n").arg(fuente.ruta).arg(fuente.ranurasCompletas)
           : QStringLiteral("%1: %2 registros, %3 problemas\n")
                 .arg(fuente.ruta)
                 .arg(fuente.ranurasCompletas)
                 .arg(problemas.size());
  escribirSalida({}, t.toUtf8());
  return problemas.isEmpty() ? 0 : EstadoProblemas;
}

int ordenRepair(const Linea& l) {
  const QString& ruta = l.posicionales[0].texto;
  const auto deshecho = reparar(ruta);
  escribirSalida({}, (deshecho ? QStringLiteral("%1: %2: deshecha la grabación cortada con %3\n")
                                     .arg(ruta, desgarrado(deshecho->d), QFile::decodeName(deshecho->ruta))
                               : QStringLiteral("%1: nada que reparar\n").arg(ruta))
                         .toUtf8());
  return 0;
}

// The value of an option that takes one of a few words: its index among them.
int eleccion(const Linea& l, const char* opcion, const QStringList& palabras) {
  const int i = static_cast<int>(palabras.indexOf(l.valor(opcion)));
  if (i < 0) throw uso(QStringLiteral("%1 admite %2").arg(QLatin1String(opcion), palabras.join(QStringLiteral(" o "))));
  return i;
}

int ordenExport(const Linea& l) {
  const Formato* formato = buscarFormato(l.valor("--format"));
  if (!formato) {
    throw uso(QStringLiteral("formato desconocido: %1 (%2)").arg(l.valor("--format"), listaDeFormatos()));
  }
  const bool pideDisposicion = l.tiene("--order") || l.tiene("--bit-order") || l.tiene("--invert");
  if (!formato->disposicion && pideDisposicion) {
    throw uso(QStringLiteral("el formato %1 no admite --order, --bit-order ni --invert").arg(formato->nombre));
  }
  Disposicion d = formato->disposicion.value_or(Disposicion{});
  if (l.tiene("--order")) {
    d.orden = eleccion(l, "--order", {QStringLiteral("columns"), QStringLiteral("rows")}) == 1
                  ? Disposicion::Orden::Filas
                  : Disposicion::Orden::Columnas;
  }
  if (l.tiene("--bit-order")) d.msb = eleccion(l, "--bit-order", {QStringLiteral("lsb"), QStringLiteral("msb")}) == 1;
  d.invertida = d.invertida != l.tiene("--invert");
  const QString& ruta = l.posicionales[0].texto;
  salidaDistintaDe(l, ruta);
  QStringList avisos;
  QByteArray datos;
  try {
    datos = exportar(leerFuente(ruta), *formato, d, avisos);
  } catch (const Fallo&) {
    for (const QString& a : avisos) avisar(ruta + QStringLiteral(": ") + a);
    throw;
  }
  for (const QString& a : avisos) avisar(ruta + QStringLiteral(": ") + a);
  escribirSalida(l.valor("--output"), datos);
  return 0;
}

int ordenImport(const Linea& l) {
  const bool familia = l.tiene("--family");
  if (familia != l.posicionales.isEmpty()) {
    throw uso(familia ? QStringLiteral("import toma una fuente o --family, no las dos")
                      : QStringLiteral("faltan argumentos para import"));
  }
  salidaBinaria(l);
  Trazado trazado;
  if (l.tiene("--size")) trazado.tamano = numeroDeOpcion(l, "--size", 1, MaximoTamano);
  if (l.tiene("--threshold")) trazado.umbral = numeroDeOpcion(l, "--threshold", 0, MaximoUmbral);
  const QString origen = familia ? l.valor("--family") : l.posicionales[0].texto;
  Importado r;
  if (familia) {
    r = importarFamilia(origen, trazado);
  } else {
    salidaDistintaDe(l, origen);
    QFile archivo(origen);
    abrirEntrada(archivo);
    if (esTipografia(archivo.peek(8), origen)) {
      const QByteArray datos = archivo.readAll();
      if (archivo.error() != QFileDevice::NoError)
        throw Fallo(QStringLiteral("%1: no se puede leer el archivo").arg(origen));
      r = importarTipografia(datos, origen, trazado);
    } else if (l.tiene("--size") || l.tiene("--threshold")) {
      throw uso(QStringLiteral("--size y --threshold son para tipografías, no para una fuente BDF"));
    } else {
      r = importarBdf(archivo, origen);
    }
  }
  for (const QString& a : r.informe) avisar(origen + QStringLiteral(": ") + a);
  escribirSalida(l.valor("--output"), comoFuente(r.registros, origen));
  cerrarAvisos();
  decir(QStringLiteral("%1: %2 caracteres importados").arg(origen).arg(r.registros.size()));
  return 0;
}

int ordenRender(const Linea& l) {
  int escala = 8;
  if (l.tiene("--scale")) {
    bool bien = false;
    escala = l.valor("--scale").toInt(&bien);
    if (!bien || escala < 1 || escala > 64) throw uso(QStringLiteral("--scale debe ser un número de 1 a 64"));
  }
  if (l.posicionales[1].texto.isEmpty()) throw uso(QStringLiteral("el texto está vacío"));
  salidaDistintaDe(l, l.posicionales[0].texto);
  salidaBinaria(l);
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  escribirSalida(l.valor("--output"), comoPng(pintarTexto(fuente, l.posicionales[1].texto, escala)));
  return 0;
}

int ordenBuild(const Linea& l) {
  const QString& ruta = l.posicionales[0].texto;
  salidaDistintaDe(l, ruta);
  salidaBinaria(l);
  QFile archivo(ruta);
  abrirEntrada(archivo);
  escribirSalida(l.valor("--output"), comoFuente(leerTextoArte(archivo, ruta), ruta));
  return 0;
}

// Every command, in the order --help lists them. The first argument of each
// is a file.
struct Orden {
  QString nombre;
  QString argumentos;  // as --help shows them
  int minimo, maximo;  // how many arguments
  QStringList opciones;
  QStringList obligatorias;
  int (*ejecutar)(const Linea&);
  QString ayuda;
};

const QList<Orden>& ordenes() {
  const QString o = QStringLiteral("--output");
  static const QList<Orden> lista = {
      {QStringLiteral("list"),
       QStringLiteral("FUENTE"),
       1,
       1,
       {},
       {},
       ordenList,
       QStringLiteral("Una línea por registro: número, carácter, los diez códigos de columna en hexadecimal (la "
                      "columna 1 primero) y el ancho usado. El ancho usado es el número de columnas hasta la última "
                      "que tiene algún punto encendido.")},
      {QStringLiteral("show"),
       QStringLiteral("FUENTE [TEXTO]"),
       1,
       2,
       {},
       {},
       ordenShow,
       QStringLiteral("Los dibujos en texto ('#' encendido, '.' apagado): todos los registros, o los caracteres de "
                      "TEXTO, buscados como los busca el editor: el primer registro que lo tiene, y la búsqueda se "
                      "detiene en un registro que no se puede leer. Es la forma que lee `mtz build`.")},
      {QStringLiteral("check"),
       QStringLiteral("FUENTE"),
       1,
       1,
       {},
       {},
       ordenCheck,
       QStringLiteral("Revisa el archivo: un registro a medias en el disco por una grabación cortada, longitudes de "
                      "ranura, caracteres fuera de la lista de 121, caracteres guardados dos veces, códigos fuera de "
                      "0..127, un registro incompleto al final y más de 32767 registros. Dice qué y dónde.")},
      {QStringLiteral("repair"),
       QStringLiteral("FUENTE"),
       1,
       1,
       {},
       {},
       ordenRepair,
       QStringLiteral("Deshace en el disco la grabación cortada que check señala, como lo haría la próxima grabación, "
                      "para que las copias y otros programas lean el archivo entero. Es la única orden que cambia "
                      "el archivo que lee.")},
      {QStringLiteral("export"),
       QStringLiteral("FUENTE"),
       1,
       1,
       {QStringLiteral("--format"), QStringLiteral("--order"), QStringLiteral("--bit-order"),
        QStringLiteral("--invert"), o},
       {QStringLiteral("--format")},
       ordenExport,
       QStringLiteral("La fuente como código para un programa o como fuente BDF. Los formatos de código admiten "
                      "--order, --bit-order e --invert; el comentario del principio de cada uno explica la "
                      "disposición de sus bytes con un ejemplo. FORMATO es uno de estos:")},
      {QStringLiteral("import"),
       QStringLiteral("FUENTE.bdf|TIPOGRAFIA"),
       0,
       1,
       {QStringLiteral("--family"), QStringLiteral("--size"), QStringLiteral("--threshold"), o},
       {},
       ordenImport,
       QStringLiteral("Toma los caracteres de la lista de 121 de una fuente BDF, de una tipografía (TrueType, "
                      "OpenType, de mapas de bits .otb, PCF o .pcf.gz) o de una familia instalada (--family en vez "
                      "del archivo), encajados en la cuadrícula de 7 x 10, e informa de lo que recortó, omitió o "
                      "falta. Una tipografía se dibuja con FreeType sin suavizado a --size PX, o con suavizado y "
                      "--threshold N.")},
      {QStringLiteral("render"),
       QStringLiteral("FUENTE TEXTO"),
       2,
       2,
       {o, QStringLiteral("--scale")},
       {},
       ordenRender,
       QStringLiteral("Una imagen PNG del texto como se encendería en un letrero de puntos.")},
      {QStringLiteral("build"),
       QStringLiteral("DIBUJOS.txt"),
       1,
       1,
       {o},
       {},
       ordenBuild,
       QStringLiteral("Una fuente a partir de dibujos en texto: \"[c]\" y siete filas de '#' y '.'.")},
  };
  return lista;
}

QString enUso(const Opcion& o) { return o.valor.isEmpty() ? o.nombre : o.nombre + QLatin1Char(' ') + o.valor; }

QString ayuda() {
  QString t = QStringLiteral(
      "Uso: mtz ORDEN ARGUMENTOS...\nCompañero de línea de órdenes de Grafolux, para fuentes de matriz de puntos "
      ".mtz\n(7 filas x 10 columnas, registros de 24 bytes). Solo repair cambia los archivos que lee.\n\nÓrdenes:\n");
  for (const Orden& orden : ordenes()) {
    // An option and its value stay on one line: joined by a no-break space until wrapped.
    const QChar junto(0xa0);
    QString uso = QStringLiteral("mtz %1 %2").arg(orden.nombre, orden.argumentos);
    for (const QString& nombre : orden.opciones) {
      const Opcion& o = *opcion(nombre);
      QString texto = (o.corto.isEmpty() ? o.nombre : o.corto) + (o.valor.isEmpty() ? QString() : junto + o.valor);
      if (!orden.obligatorias.contains(nombre)) texto = QLatin1Char('[') + texto + QLatin1Char(']');
      uso += QLatin1Char(' ') + texto;
    }
    uso = envolver(uso, 76).join(QStringLiteral("\n        ")).replace(junto, QLatin1Char(' '));
    t += QStringLiteral("  ") + uso + QLatin1Char('\n');
    t += QStringLiteral("      ") + envolver(orden.ayuda, 74).join(QStringLiteral("\n      ")) + QLatin1Char('\n');
    if (!orden.opciones.contains(QStringLiteral("--format"))) continue;
    for (const Formato& f : formatos()) {
      t += QStringLiteral("        %1").arg(QLatin1String(f.nombre), -9) +
           envolver(QString::fromUtf8(f.descripcion), 63).join(QStringLiteral("\n                 ")) +
           QLatin1Char('\n');
    }
  }
  t += QStringLiteral("\nOpciones:\n");
  for (const Opcion& o : opciones()) {
    const QString nombre = (o.corto.isEmpty() ? QString() : o.corto + QStringLiteral(", ")) + enUso(o);
    t += QStringLiteral("  %1\n      %2\n").arg(nombre, envolver(o.ayuda, 74).join(QStringLiteral("\n      ")));
  }
  return t + QStringLiteral(
                 "\nLos nombres de archivo deben ser UTF-8 válido; otro nombre se rechaza como uso incorrecto.\n"
                 "Estado de salida: 0 bien, 1 problemas encontrados, 2 uso incorrecto.\n");
}

// The options and the number of arguments a command takes.
void exigir(const Linea& l, const Orden& orden) {
  for (auto o = l.valores.cbegin(); o != l.valores.cend(); ++o) {
    if (!orden.opciones.contains(o.key())) throw uso(QStringLiteral("%1 no admite la opción %2").arg(l.orden, o.key()));
  }
  for (const QString& o : orden.obligatorias) {
    if (!l.valores.contains(o)) {
      throw uso(QStringLiteral("%1 necesita %2: %3").arg(l.orden, enUso(*opcion(o)), opcion(o)->ayuda));
    }
  }
  if (l.posicionales.size() < orden.minimo) throw uso(QStringLiteral("faltan argumentos para %1").arg(l.orden));
  if (l.posicionales.size() > orden.maximo) {
    QStringList sobran;
    for (qsizetype i = orden.maximo; i < l.posicionales.size(); ++i) sobran << l.posicionales[i].texto;
    throw uso(QStringLiteral("sobran argumentos para %1: %2").arg(l.orden, sobran.join(QLatin1Char(' '))));
  }
  if (!l.posicionales.isEmpty()) {
    // Every input is read by name, some of them twice.
    if (l.posicionales[0].texto == QLatin1String("-"))
      throw uso(QStringLiteral("%1 no lee la entrada estándar: indique un archivo").arg(l.orden));
    exigirNombreExacto(l.posicionales[0]);
  }
  if (l.tiene("--output")) exigirNombreExacto(l.valores.value(QStringLiteral("--output")));
}

}  // namespace

int programa(const QList<QByteArray>& argumentos) {
  cuentaDeAvisos = {};
  try {
    const Linea l = analizar(argumentos);
    if (l.tiene("--version")) {
      imprimir(QStringLiteral("mtz (Grafolux) " GRAFOLUX_VERSION "\n"));
      return 0;
    }
    if (l.tiene("--help")) {
      imprimir(ayuda());
      return 0;
    }
    if (l.orden.isEmpty()) throw uso(QStringLiteral("falta la orden"));
    for (const Orden& orden : ordenes()) {
      if (orden.nombre != l.orden) continue;
      exigir(l, orden);
      const int estado = orden.ejecutar(l);
      cerrarAvisos();
      return estado;
    }
    throw uso(QStringLiteral("orden desconocida: %1").arg(l.orden));
  } catch (const Fallo& f) {
    cerrarAvisos();
    decir(f.mensaje());
    return f.estado();
  } catch (const std::bad_alloc&) {
    cerrarAvisos();
    decir(QStringLiteral("no hay memoria suficiente"));
    return EstadoProblemas;
  } catch (const std::exception& e) {
    cerrarAvisos();
    // Whatever else a library throws still ends with one line, not an abort.
    decir(QStringLiteral("error inesperado: %1").arg(QString::fromLocal8Bit(e.what())));
    return EstadoProblemas;
  }
}

}  // namespace mtz
