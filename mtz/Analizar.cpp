#include <QFile>

#include "Fallo.h"
#include "LineaDeOrdenes.h"

namespace mtz {
namespace {

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

}  // namespace

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

}  // namespace mtz
