#include "Exportar.h"

#include "ExportarComun.h"
#include "Fallo.h"

namespace mtz {
namespace {

using Orden = Disposicion::Orden;

constexpr Formato Formatos[] = {
    {"c", exportarC, Disposicion{}, "tablas de C (static const uint8_t)"},
    {"arduino", exportarArduino, Disposicion{},
     "las mismas tablas en la memoria de programa (PROGMEM) con avr-gcc; const en otras placas"},
    {"python", exportarPython, Disposicion{}, "diccionarios de bytes de Python"},
    {"json", exportarJson, Disposicion{}, "JSON"},
    {"gfx", exportarGfx, Disposicion{Orden::Filas, true, false},
     "encabezado con la estructura GFXfont (mapa de bits, tabla GFXglyph, códigos 0x20 a 0xFF de Windows-1252); "
     "por defecto por filas y msb, como esa estructura pide"},
    {"bdf", exportarBdf, std::nullopt, "fuente BDF 2.1, 7 píxeles de alto, proporcional"},
    {"max72xx", exportarMax72xx, std::nullopt,
     "encabezado con la tabla de fuente de MD_MAX72XX y MD_Parola, para matrices de LED con MAX7219: "
     "ancho y columnas de cada código Windows-1252"},
};

// Every unreadable slot stops an export: what it holds is unknown. So do
// records past 32767, which no program of this system reads.
void exigirLegible(const Fuente& fuente) {
  if (fuente.ranurasCompletas > fontfile::MaximoRegistros) {
    throw Fallo(QStringLiteral("%1: el archivo tiene %2 registros, más de %3")
                    .arg(fuente.ruta)
                    .arg(fuente.ranurasCompletas)
                    .arg(fontfile::MaximoRegistros));
  }
  for (const Entrada& e : fuente.entradas) {
    if (!e.registro) throw Fallo(QStringLiteral("%1: %2").arg(fuente.ruta, ilegible(e)));
  }
  if (fuente.entradas.empty()) throw sinCaracteres(fuente);
}

}  // namespace

std::span<const Formato> formatos() { return Formatos; }

const Formato* buscarFormato(const QString& nombre) {
  for (const Formato& f : Formatos) {
    if (nombre == QLatin1String(f.nombre)) return &f;
  }
  return nullptr;
}

QString listaDeFormatos() {
  QStringList nombres;
  for (const Formato& f : Formatos) nombres << QLatin1String(f.nombre);
  const QString ultimo = nombres.takeLast();
  return nombres.join(QStringLiteral(", ")) + QStringLiteral(" o ") + ultimo;
}

QByteArray exportar(const Fuente& fuente, const Formato& formato, const Disposicion& disposicion, QStringList& avisos) {
  exigirLegible(fuente);
  return formato.exportar(fuente, disposicion, avisos);
}

}  // namespace mtz
