#include "Programa.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstdio>

#include "Exportar.h"
#include "Fallo.h"
#include "Fuente.h"
#include "ImportarBdf.h"
#include "Pintar.h"
#include "Salida.h"
#include "TextoArte.h"

namespace mtz {
namespace {

const char* const Ayuda = R"(Uso: mtz ORDEN ARGUMENTOS...
Compañero de línea de órdenes de Grafolux, para fuentes de matriz de puntos .mtz
(7 filas x 10 columnas, registros de 24 bytes). Nunca cambia los archivos que lee.

Órdenes:
  mtz list FUENTE
      Una línea por registro: número, carácter, los diez códigos de columna en
      hexadecimal (la columna 1 primero) y el ancho usado. El ancho usado es el
      número de columnas hasta la última que tiene algún punto encendido.
  mtz show FUENTE [TEXTO]
      Los dibujos en texto ('#' encendido, '.' apagado): todos los registros, o
      los caracteres de TEXTO. Es la forma que lee `mtz build`.
  mtz check FUENTE
      Revisa el archivo: longitudes de ranura, caracteres fuera de la lista de
      121, caracteres guardados dos veces, códigos fuera de 0..127, un registro
      incompleto al final y más de 32767 registros. Dice qué y dónde.
  mtz export FUENTE --format c|arduino|python|json|bdf [-o SALIDA]
      La fuente como tabla de C (const uint8_t), para Arduino (PROGMEM), como
      bytes de Python, en JSON o en BDF 2.1.
  mtz import FUENTE.bdf [-o SALIDA.mtz]
      Toma de una fuente BDF los caracteres de la lista de 121, encajados en la
      cuadrícula de 7 x 10, e informa de lo que omitió o recortó.
  mtz render FUENTE TEXTO [-o SALIDA.png] [--scale N]
      Una imagen PNG del texto como se encendería en un letrero de puntos;
      N píxeles por punto (1 a 64, 8 si no se indica).
  mtz build DIBUJOS.txt [-o SALIDA.mtz]
      Una fuente a partir de dibujos en texto: "[c]" y siete filas de '#' y '.'.

Opciones:
  -o, --output ARCHIVO  escribe en ARCHIVO (entero o nada) en vez de la salida estándar
  -h, --help            muestra esta ayuda
  --version             muestra la versión

Estado de salida: 0 bien, 1 problemas encontrados, 2 uso incorrecto.
)";

struct Linea {
  QString orden;
  QStringList posicionales;
  QString salida;
  QString formato;
  QString escala;
  QStringList opciones;  // the options given, for the checks of each command
};

Fallo uso(const QString& mensaje) { return Fallo(mensaje + QStringLiteral(" (vea mtz --help)"), EstadoUso); }

void imprimir(const QString& texto) {
  const QByteArray b = texto.toUtf8();
  std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stdout);
}

void avisar(const QString& texto) {
  const QByteArray b = (QStringLiteral("mtz: ") + texto + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stderr);
}

Linea analizar(const QStringList& argumentos) {
  Linea l;
  bool soloPosicionales = false;
  for (int i = 0; i < argumentos.size(); ++i) {
    const QString& a = argumentos[i];
    if (soloPosicionales || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
      if (l.orden.isEmpty()) {
        l.orden = a;
      } else {
        l.posicionales << a;
      }
      continue;
    }
    if (a == QLatin1String("--")) {
      soloPosicionales = true;
      continue;
    }
    QString nombre = a, valor;
    bool conValor = false;
    if (a.startsWith(QLatin1String("--")) && a.contains(QLatin1Char('='))) {
      nombre = a.section(QLatin1Char('='), 0, 0);
      valor = a.section(QLatin1Char('='), 1);
      conValor = true;
    }
    if (nombre == QLatin1String("-h") || nombre == QLatin1String("--help") || nombre == QLatin1String("--version")) {
      l.opciones << nombre;
      continue;
    }
    QString* destino = nullptr;
    if (nombre == QLatin1String("-o") || nombre == QLatin1String("--output")) {
      destino = &l.salida;
      nombre = QStringLiteral("-o");
    } else if (nombre == QLatin1String("--format")) {
      destino = &l.formato;
    } else if (nombre == QLatin1String("--scale")) {
      destino = &l.escala;
    } else {
      throw uso(QStringLiteral("opción desconocida: %1").arg(a));
    }
    if (!conValor) {
      if (i + 1 >= argumentos.size()) throw uso(QStringLiteral("falta el valor de %1").arg(a));
      valor = argumentos[++i];
    }
    if (l.opciones.contains(nombre)) throw uso(QStringLiteral("%1 repetida").arg(nombre));
    if (valor.isEmpty()) throw uso(QStringLiteral("%1 vacía").arg(nombre));
    l.opciones << nombre;
    *destino = valor;
  }
  return l;
}

// The options and the number of arguments a command takes.
void exigir(const Linea& l, int minimo, int maximo, const QStringList& permitidas) {
  for (const QString& o : l.opciones) {
    if (!permitidas.contains(o)) throw uso(QStringLiteral("%1 no admite la opción %2").arg(l.orden, o));
  }
  if (l.posicionales.size() < minimo) throw uso(QStringLiteral("faltan argumentos para %1").arg(l.orden));
  if (l.posicionales.size() > maximo)
    throw uso(QStringLiteral("sobran argumentos para %1: %2")
                  .arg(l.orden, l.posicionales.mid(maximo).join(QLatin1Char(' '))));
}

// An output that would replace the input is refused: inputs are never changed.
void salidaDistintaDe(const Linea& l, const QString& entrada) {
  if (!l.salida.isEmpty() && l.salida != QLatin1String("-") && mismoArchivo(entrada, l.salida)) {
    throw uso(QStringLiteral("la salida %1 es el archivo de entrada").arg(l.salida));
  }
}

void salidaBinaria(const Linea& l) {
  if ((l.salida.isEmpty() || l.salida == QLatin1String("-")) && ::isatty(STDOUT_FILENO)) {
    throw uso(QStringLiteral("la salida es binaria y no se escribe en la terminal: use -o ARCHIVO"));
  }
}

QByteArray leerEntrada(const QString& ruta) {
  QFile archivo(ruta);
  if (!archivo.exists()) throw Fallo(QStringLiteral("%1: el archivo no existe").arg(ruta));
  // A FIFO would keep the command waiting, a folder has nothing to read.
  if (!QFileInfo(ruta).isFile()) throw Fallo(QStringLiteral("%1: no es un archivo normal").arg(ruta));
  if (!archivo.open(QIODevice::ReadOnly)) throw Fallo(QStringLiteral("%1: no se puede abrir el archivo").arg(ruta));
  // Sources of fonts are small; a huge file is refused rather than read whole.
  if (archivo.size() > 64 * 1024 * 1024) throw Fallo(QStringLiteral("%1: el archivo es demasiado grande").arg(ruta));
  const QByteArray datos = archivo.readAll();
  if (archivo.error() != QFileDevice::NoError) throw Fallo(QStringLiteral("%1: no se puede leer el archivo").arg(ruta));
  return datos;
}

QByteArray comoFuente(const std::vector<fontfile::FontRecord>& registros, const QString& nombre) {
  if (registros.size() > static_cast<size_t>(fontfile::MaximoRegistros)) {
    throw Fallo(QStringLiteral("%1: más de %2 caracteres").arg(nombre).arg(fontfile::MaximoRegistros));
  }
  QByteArray datos;
  for (const auto& r : registros) {
    const fontfile::Ranura ranura = fontfile::escribirRanura(r);
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
  exigir(l, 1, 1, {});
  const Fuente fuente = leerFuente(l.posicionales[0]);
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
  exigir(l, 1, 2, {});
  const Fuente fuente = leerFuente(l.posicionales[0]);
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
    for (const QChar c : l.posicionales[1]) {
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
  exigir(l, 1, 1, {});
  const Fuente fuente = leerFuente(l.posicionales[0]);
  const QStringList problemas = revisar(fuente);
  // A broken file can hold millions of faults; the first ones tell enough.
  constexpr int Mostrados = 200;
  QString t;
  for (int i = 0; i < std::min<int>(problemas.size(), Mostrados); ++i)
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

int ordenExport(const Linea& l) {
  exigir(l, 1, 1, {QStringLiteral("-o"), QStringLiteral("--format")});
  if (l.formato.isEmpty()) throw uso(QStringLiteral("export necesita --format c|arduino|python|json|bdf"));
  const auto formato = formatoDeNombre(l.formato);
  if (!formato) throw uso(QStringLiteral("formato desconocido: %1 (c, arduino, python, json o bdf)").arg(l.formato));
  salidaDistintaDe(l, l.posicionales[0]);
  const Exportado r = exportar(leerFuente(l.posicionales[0]), *formato);
  for (const QString& a : r.avisos) avisar(l.posicionales[0] + QStringLiteral(": ") + a);
  escribirSalida(l.salida, r.datos);
  return 0;
}

int ordenImport(const Linea& l) {
  exigir(l, 1, 1, {QStringLiteral("-o")});
  salidaDistintaDe(l, l.posicionales[0]);
  salidaBinaria(l);
  const QString& ruta = l.posicionales[0];
  const Importado r = importarBdf(leerEntrada(ruta), ruta);
  for (const QString& a : r.informe) avisar(ruta + QStringLiteral(": ") + a);
  if (r.registros.empty())
    throw Fallo(QStringLiteral("%1: ningún carácter de la lista de 121; no se escribe nada").arg(ruta));
  escribirSalida(l.salida, comoFuente(r.registros, ruta));
  avisar(QStringLiteral("%1: %2 caracteres importados").arg(ruta).arg(r.registros.size()));
  return 0;
}

int ordenRender(const Linea& l) {
  exigir(l, 2, 2, {QStringLiteral("-o"), QStringLiteral("--scale")});
  int escala = 8;
  if (!l.escala.isEmpty()) {
    bool bien = false;
    escala = l.escala.toInt(&bien);
    if (!bien || escala < 1 || escala > 64) throw uso(QStringLiteral("--scale debe ser un número de 1 a 64"));
  }
  if (l.posicionales[1].isEmpty()) throw uso(QStringLiteral("el texto está vacío"));
  salidaDistintaDe(l, l.posicionales[0]);
  salidaBinaria(l);
  const Fuente fuente = leerFuente(l.posicionales[0]);
  escribirSalida(l.salida, comoPng(pintarTexto(fuente, l.posicionales[1], escala)));
  return 0;
}

int ordenBuild(const Linea& l) {
  exigir(l, 1, 1, {QStringLiteral("-o")});
  salidaDistintaDe(l, l.posicionales[0]);
  salidaBinaria(l);
  const QString& ruta = l.posicionales[0];
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString texto = utf8.decode(leerEntrada(ruta));
  if (utf8.hasError()) throw Fallo(QStringLiteral("%1: el texto no está en UTF-8").arg(ruta));
  escribirSalida(l.salida, comoFuente(leerTextoArte(texto, ruta), ruta));
  return 0;
}

}  // namespace

int programa(const QStringList& argumentos) {
  try {
    const Linea l = analizar(argumentos);
    if (l.opciones.contains(QLatin1String("--version"))) {
      imprimir(QStringLiteral("mtz (Grafolux) " GRAFOLUX_VERSION "\n"));
      return 0;
    }
    if (l.opciones.contains(QLatin1String("-h")) || l.opciones.contains(QLatin1String("--help"))) {
      imprimir(QString::fromUtf8(Ayuda));
      return 0;
    }
    if (l.orden.isEmpty()) throw uso(QStringLiteral("falta la orden"));
    if (l.orden == QLatin1String("list")) return ordenList(l);
    if (l.orden == QLatin1String("show")) return ordenShow(l);
    if (l.orden == QLatin1String("check")) return ordenCheck(l);
    if (l.orden == QLatin1String("export")) return ordenExport(l);
    if (l.orden == QLatin1String("import")) return ordenImport(l);
    if (l.orden == QLatin1String("render")) return ordenRender(l);
    if (l.orden == QLatin1String("build")) return ordenBuild(l);
    throw uso(QStringLiteral("orden desconocida: %1").arg(l.orden));
  } catch (const Fallo& f) {
    avisar(f.mensaje());
    return f.estado();
  }
}

}  // namespace mtz
