#include "Ordenes.h"

namespace mtz {

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

}  // namespace mtz
