#include "Exportar.h"
#include "LineaDeOrdenes.h"

namespace mtz {

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

QString enUso(const Opcion& o) { return o.valor.isEmpty() ? o.nombre : o.nombre + QLatin1Char(' ') + o.valor; }

}  // namespace mtz
