#include "ImportarTipografia.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <array>
#include <memory>
#include FT_FREETYPE_H
#include FT_BDF_H
#include FT_FONT_FORMATS_H

#include "Fallo.h"
#include "GlyphGrid.h"
#include "JuegoDeCaracteres.h"
#include "ListaCaracteres.h"

namespace mtz {
namespace {

// Ñ and Ç carry marks beyond the capitals' height, so they do not set the size.
const char* const Mayusculas = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// A larger glyph is no glyph for a 7 x 10 grid, as a larger BDF box is not.
constexpr unsigned MaximoLado = 512;
// Capitals of fewer rows are no letters on a sign, however apart they stay.
constexpr int MinimoDeMayusculas = 5;

// A face with its own FreeType instance, and the bytes it reads from.
class Cara {
 public:
  Cara(const QByteArray& datos, int indice, const QString& nombre) : datos_(datos) {
    if (FT_Init_FreeType(&biblioteca_) != 0) throw Fallo(QStringLiteral("no se puede iniciar FreeType"));
    if (datos_.isEmpty() || FT_New_Memory_Face(biblioteca_, reinterpret_cast<const FT_Byte*>(datos_.constData()),
                                               static_cast<FT_Long>(datos_.size()), indice, &cara_) != 0) {
      FT_Done_FreeType(biblioteca_);
      throw Fallo(QStringLiteral("%1: no se puede leer la tipografía%2")
                      .arg(nombre, datos_.isEmpty() ? QStringLiteral(" (está vacía)") : QString()));
    }
  }
  ~Cara() {
    FT_Done_Face(cara_);
    FT_Done_FreeType(biblioteca_);
  }
  Cara(const Cara&) = delete;
  Cara& operator=(const Cara&) = delete;
  FT_Face operator->() const { return cara_; }
  FT_Face get() const { return cara_; }

 private:
  QByteArray datos_;
  FT_Library biblioteca_ = nullptr;
  FT_Face cara_ = nullptr;
};

struct Indice {
  QString caracter;
  FT_UInt glifo;
};

// The glyph of each character of the list the face has. A PCF keys its
// glyphs by the codes of the charset it names, as a BDF does, and is read
// alike, so that it imports as its BDF does; other faces by Unicode.
std::vector<Indice> indicesDeLaLista(FT_Face cara, const QString& nombre, QStringList& informe) {
  const QStringList& lista = fontfile::ListaCaracteres();
  std::vector<Indice> indices;
  const QByteArray formato(FT_Get_Font_Format(cara));
  if (formato == "PCF") {
    const char* parte = nullptr;
    const char* norma = nullptr;
    const bool nombrado = FT_Get_BDF_Charset_ID(cara, &parte, &norma) == 0 && norma != nullptr;
    const QByteArray n = nombrado ? QByteArray(norma).toUpper() : QByteArray();
    const QByteArray p = nombrado && parte != nullptr ? QByteArray(parte).toUpper() : QByteArray();
    const auto juego = JuegoDeCaracteres::deNombre(n, p);
    if (!juego) {
      throw Fallo(QStringLiteral("%1: juego de caracteres %2 desconocido; no se importa nada")
                      .arg(nombre, QString::fromLatin1(p.isEmpty() ? n : n + '-' + p)));
    }
    if (n.isEmpty())
      informe << QStringLiteral("la fuente no dice su juego de caracteres: los códigos se toman como Unicode");
    // A PCF in another charset than Unicode has its one charmap, which FreeType leaves unselected.
    if (cara->charmap == nullptr && cara->num_charmaps > 0) (void)FT_Set_Charmap(cara, cara->charmaps[0]);
    QSet<QString> vistos;
    FT_UInt glifo = 0;
    for (FT_ULong codigo = FT_Get_First_Char(cara, &glifo); glifo != 0;
         codigo = FT_Get_Next_Char(cara, codigo, &glifo)) {
      const auto u = juego->unicode(static_cast<long long>(codigo));
      const QString c = u ? QString::fromUcs4(&*u, 1) : QString();
      if (!u || !lista.contains(c) || vistos.contains(c)) continue;
      vistos.insert(c);
      indices.push_back({c, glifo});
    }
    return indices;
  }
  if (FT_Select_Charmap(cara, FT_ENCODING_UNICODE) != 0)
    throw Fallo(QStringLiteral("%1: la tipografía no tiene tabla de caracteres Unicode").arg(nombre));
  for (const QString& c : lista) {
    const FT_UInt glifo = FT_Get_Char_Index(cara, c.toUcs4().value(0));
    if (glifo != 0) indices.push_back({c, glifo});
  }
  return indices;
}

// How an outline becomes dots: anti-aliased and cut at a threshold or one
// bit a dot, and fitted to the pixel grid by the face's own instructions
// (hinting) or not. At 7 to 10 pixels either may lose a mark the other keeps.
struct Modo {
  std::optional<int> umbral;
  bool ajustar = true;
};

// The glyph at the face's current size, as the face draws it. Nothing when
// FreeType cannot draw it.
std::optional<GlifoLeido> pintar(FT_Face cara, FT_UInt glifo, const Modo& modo) {
  const std::optional<int>& umbral = modo.umbral;
  const FT_Int32 carga = FT_LOAD_RENDER | (umbral ? FT_LOAD_TARGET_NORMAL : FT_LOAD_MONOCHROME) |
                         (modo.ajustar ? FT_LOAD_DEFAULT : FT_LOAD_NO_HINTING);
  if (FT_Load_Glyph(cara, glifo, carga) != 0) return std::nullopt;
  const FT_GlyphSlot ranura = cara->glyph;
  const FT_Bitmap& mapa = ranura->bitmap;
  if (mapa.width > MaximoLado || mapa.rows > MaximoLado) return std::nullopt;
  const int ancho = static_cast<int>(mapa.width), alto = static_cast<int>(mapa.rows);
  // The bottom row lies bitmap_top - rows rows above the baseline.
  GlifoLeido g{QString(), QString(), ranura->bitmap_left, ranura->bitmap_top - alto, ancho, {}};
  g.puntos.reserve(static_cast<size_t>(ancho) * static_cast<size_t>(alto));
  const int corte = umbral.value_or(127);
  const int grises = std::max(2, static_cast<int>(mapa.num_grays));
  for (int f = 0; f < alto; ++f) {
    const unsigned char* fila =
        mapa.buffer + static_cast<std::ptrdiff_t>(mapa.pitch >= 0 ? f : alto - 1 - f) * std::abs(mapa.pitch);
    for (int x = 0; x < ancho; ++x) {
      bool encendido = false;
      switch (mapa.pixel_mode) {
        case FT_PIXEL_MODE_MONO:
          encendido = ((fila[x >> 3] >> (7 - (x & 7))) & 1) != 0;
          break;
        case FT_PIXEL_MODE_GRAY:
          encendido = fila[x] * 255 / (grises - 1) > corte;
          break;
        case FT_PIXEL_MODE_BGRA:  // colour strikes: their coverage is the alpha
          encendido = fila[4 * x + 3] > corte;
          break;
        default:
          return std::nullopt;
      }
      g.puntos.push_back(encendido);
    }
  }
  return g;
}

// Rows from the baseline up to the highest lit dot of the capitals; 0 when
// none is lit, -1 when the face has none of them. What hangs below the
// baseline (the tail of a Q) does not count.
int altoDeMayusculas(FT_Face cara, const Modo& modo) {
  int alto = -1;
  for (const char* m = Mayusculas; *m != '\0'; ++m) {
    const FT_UInt glifo = FT_Get_Char_Index(cara, static_cast<FT_ULong>(*m));
    if (glifo == 0) continue;
    alto = std::max(alto, 0);
    const auto g = pintar(cara, glifo, modo);
    if (!g || g->ancho <= 0) continue;
    const auto primero = std::find(g->puntos.begin(), g->puntos.end(), true);
    if (primero == g->puntos.end()) continue;
    const auto filas = static_cast<int>(g->puntos.size() / static_cast<size_t>(g->ancho));
    const int filaMasAlta = static_cast<int>(static_cast<size_t>(primero - g->puntos.begin()) / g->ancho);
    alto = std::max(alto, g->y + filas - filaMasAlta);
  }
  return alto;
}

// A face's extent in whole rows. An outline face's ascender and descender,
// scaled, keep only the rows they cover whole; a bitmap face says its own.
Metricas metricas(FT_Face cara, int tamano) {
  if (FT_IS_SCALABLE(cara)) {
    const long long em = std::max<long long>(cara->units_per_EM, 1);
    const auto escalar = [&](long long v) { return static_cast<int>(v * tamano / em); };
    return {escalar(cara->ascender), escalar(-static_cast<long long>(cara->descender))};
  }
  // A PCF's properties are what its BDF says as FONT_ASCENT and FONT_DESCENT.
  const auto propiedad = [&](const char* nombre, long valor) {
    BDF_PropertyRec p{};
    if (FT_Get_BDF_Property(cara, nombre, &p) != 0) return static_cast<int>(valor);
    if (p.type == BDF_PROPERTY_TYPE_INTEGER) return static_cast<int>(p.u.integer);
    if (p.type == BDF_PROPERTY_TYPE_CARDINAL) return static_cast<int>(p.u.cardinal);
    return static_cast<int>(valor);
  };
  const FT_Size_Metrics& m = cara->size->metrics;
  return {std::clamp(propiedad("FONT_ASCENT", m.ascender >> 6), -4096, 4096),
          std::clamp(propiedad("FONT_DESCENT", -m.descender >> 6), -4096, 4096)};
}

Importado dibujar(FT_Face cara, const std::vector<Indice>& indices, int tamano, const Modo& modo,
                  const QStringList& informe) {
  std::vector<GlifoLeido> glifos;
  for (const Indice& i : indices) {
    auto g = pintar(cara, i.glifo, modo);
    if (!g) continue;
    g->caracter = i.caracter;
    glifos.push_back(std::move(*g));
  }
  return encajar(glifos, metricas(cara, tamano), informe);
}

// How well a size keeps the list apart: the drawings that differ and the
// marks, then the fewest dots cut.
std::tuple<int, int, qint64> calidad(const Importado& r) {
  const Distincion d = distincion(r.registros);
  return {d.marcas, d.distintos, -r.puntosRecortados};
}

QString enLista(const std::vector<int>& tamanos) {
  QStringList t;
  for (const int v : tamanos) t << QString::number(v);
  return t.join(QLatin1Char(' '));
}

// A bitmap face: at one of its own sizes, the one asked for or the largest
// whose capitals fit the grid's height.
Importado importarMapas(FT_Face cara, const QString& nombre, const Trazado& trazado, QStringList informe) {
  if (trazado.umbral)
    throw Fallo(
        QStringLiteral("%1: --threshold es para tipografías de contornos; esta es de mapas de bits").arg(nombre),
        EstadoUso);
  std::vector<int> tamanos;
  for (int i = 0; i < cara->num_fixed_sizes; ++i) {
    const FT_Bitmap_Size& s = cara->available_sizes[i];
    tamanos.push_back(s.y_ppem > 0 ? static_cast<int>((s.y_ppem + 32) >> 6) : s.height);
  }
  if (tamanos.empty()) throw Fallo(QStringLiteral("%1: la tipografía no tiene contornos ni mapas de bits").arg(nombre));
  const auto seleccionar = [&](size_t i) {
    if (FT_Select_Size(cara, static_cast<FT_Int>(i)) != 0)
      throw Fallo(QStringLiteral("%1: no se puede usar el tamaño de %2 píxeles").arg(nombre).arg(tamanos[i]));
  };
  std::optional<size_t> elegido;
  for (size_t i = 0; i < tamanos.size(); ++i) {
    if (trazado.tamano > 0) {
      if (tamanos[i] == trazado.tamano) elegido = i;
      continue;
    }
    seleccionar(i);
    const int alto = altoDeMayusculas(cara, {});
    if (alto >= 0 && alto <= glyph::Filas && (!elegido || tamanos[i] > tamanos[*elegido])) elegido = i;
  }
  if (!elegido && trazado.tamano > 0) {
    throw Fallo(QStringLiteral("%1: la fuente no tiene el tamaño de %2 píxeles; tiene %3")
                    .arg(nombre)
                    .arg(trazado.tamano)
                    .arg(enLista(tamanos)));
  }
  // When no size fits, the smallest cuts least.
  const bool cabe = elegido.has_value();
  if (!cabe) elegido = static_cast<size_t>(std::min_element(tamanos.begin(), tamanos.end()) - tamanos.begin());
  seleccionar(*elegido);
  informe.prepend(QStringLiteral("a %1 píxeles, %2 de sus tamaños de mapa de bits (%3)")
                      .arg(tamanos[*elegido])
                      .arg(cabe || trazado.tamano > 0 ? QStringLiteral("uno")
                                                      : QStringLiteral("en ninguno caben sus mayúsculas; el menor"))
                      .arg(enLista(tamanos)));
  return dibujar(cara, indicesDeLaLista(cara, nombre, informe), tamanos[*elegido], {}, informe);
}

// An outline face: at the size asked for or, of the sizes at which the
// capitals fit the grid's height, at the one that keeps the list most apart;
// with or without hinting, whichever keeps it more apart (with, of equal ones).
Importado importarContornos(FT_Face cara, const QString& nombre, const Trazado& trazado) {
  QStringList informe;
  const std::vector<Indice> indices = indicesDeLaLista(cara, nombre, informe);
  const auto a = [&](int tamano) {
    if (FT_Set_Pixel_Sizes(cara, 0, static_cast<FT_UInt>(tamano)) != 0)
      throw Fallo(QStringLiteral("%1: no se puede dibujar a %2 píxeles").arg(nombre).arg(tamano));
  };
  const bool elegirTamano = trazado.tamano == 0;
  std::optional<std::tuple<int, int, qint64>> mejor;
  int tamano = 0;
  Modo modo;
  bool hayMayusculas = false;
  for (int t = elegirTamano ? 1 : trazado.tamano; t <= (elegirTamano ? MaximoTamano : trazado.tamano); ++t) {
    a(t);
    if (elegirTamano) {
      const int alto = altoDeMayusculas(cara, {trazado.umbral, true});
      hayMayusculas = hayMayusculas || alto >= 0;
      if (alto > glyph::Filas) break;
      if (alto < MinimoDeMayusculas && t < MaximoTamano) continue;
    }
    // Of equal ones the later wins: the larger size, and hinting.
    for (const bool ajustar : {false, true}) {
      const auto c = calidad(dibujar(cara, indices, t, {trazado.umbral, ajustar}, {}));
      if (!mejor || c >= *mejor) mejor = c, tamano = t, modo = {trazado.umbral, ajustar};
    }
  }
  if (elegirTamano && !hayMayusculas)
    throw Fallo(QStringLiteral("%1: la tipografía no tiene mayúsculas de la A a la Z; indique --size").arg(nombre));
  if (tamano == 0)
    throw Fallo(QStringLiteral("%1: las mayúsculas no caben en 7 filas a ningún tamaño; indique --size").arg(nombre));
  a(tamano);
  const QString ajuste = modo.ajustar ? QString() : QStringLiteral(", sin ajuste a la rejilla (hinting)");
  informe.prepend(
      trazado.umbral
          ? QStringLiteral("a %1 píxeles, con suavizado y umbral %2%3").arg(tamano).arg(*trazado.umbral).arg(ajuste)
          : QStringLiteral("a %1 píxeles, sin suavizado%2").arg(tamano).arg(ajuste));
  return dibujar(cara, indices, tamano, modo, informe);
}

bool terminaEn(const QString& nombre, std::initializer_list<const char*> extensiones) {
  const QString n = QFileInfo(nombre).fileName().toLower();
  return std::any_of(extensiones.begin(), extensiones.end(),
                     [&](const char* e) { return n.endsWith(QLatin1Char('.') + QLatin1String(e)); });
}

}  // namespace

bool esTipografia(const QByteArray& inicio, const QString& nombre) {
  // sfnt (TrueType, OpenType, bitmap-only OpenType), collections, WOFF, PCF,
  // and the compressions FreeType opens a PCF through.
  static const std::array<QByteArray, 11> Firmas = {QByteArray("\x00\x01\x00\x00", 4),
                                                    "OTTO",
                                                    "true",
                                                    "typ1",
                                                    "ttcf",
                                                    "wOFF",
                                                    "wOF2",
                                                    "\x01"
                                                    "fcp",
                                                    "\x1f\x8b",
                                                    "\x1f\x9d",
                                                    "BZh"};
  return std::any_of(Firmas.begin(), Firmas.end(), [&](const QByteArray& f) { return inicio.startsWith(f); }) ||
         terminaEn(nombre, {"ttf", "ttc", "otf", "otc", "otb", "pcf", "pcf.gz", "woff", "woff2"});
}

Importado importarTipografia(const QByteArray& datos, const QString& nombre, const Trazado& trazado, int indice) {
  const Cara cara(datos, indice, nombre);
  if (!FT_IS_SCALABLE(cara.get())) return importarMapas(cara.get(), nombre, trazado, {});
  return importarContornos(cara.get(), nombre, trazado);
}

Importado importarFamilia(const QString& familia, const Trazado& trazado) {
  // The installed faces are those fontconfig knows, as for every program of the desktop.
  const std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> configuracion(FcInitLoadConfigAndFonts(),
                                                                            FcConfigDestroy);
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> patron(FcPatternCreate(), FcPatternDestroy);
  if (!configuracion || !patron) throw Fallo(QStringLiteral("no se pueden leer las tipografías instaladas"));
  const QByteArray nombre = familia.toUtf8();
  FcPatternAddString(patron.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(nombre.constData()));
  FcConfigSubstitute(configuracion.get(), patron.get(), FcMatchPattern);
  FcDefaultSubstitute(patron.get());
  FcResult resultado = FcResultNoMatch;
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> elegida(
      FcFontMatch(configuracion.get(), patron.get(), &resultado), FcPatternDestroy);
  // fontconfig always offers some face: it counts only when its family is the one named.
  bool esLaFamilia = false;
  FcChar8* texto = nullptr;
  for (int i = 0; elegida && FcPatternGetString(elegida.get(), FC_FAMILY, i, &texto) == FcResultMatch; ++i)
    esLaFamilia = esLaFamilia ||
                  QString::fromUtf8(reinterpret_cast<const char*>(texto)).compare(familia, Qt::CaseInsensitive) == 0;
  FcChar8* archivo = nullptr;
  int indice = 0;
  if (!esLaFamilia || FcPatternGetString(elegida.get(), FC_FILE, 0, &archivo) != FcResultMatch)
    throw Fallo(QStringLiteral("%1: no hay ninguna tipografía instalada de esa familia").arg(familia));
  (void)FcPatternGetInteger(elegida.get(), FC_INDEX, 0, &indice);
  QFile f(QFile::decodeName(reinterpret_cast<const char*>(archivo)));
  if (!f.open(QIODevice::ReadOnly)) throw Fallo(QStringLiteral("%1: no se puede abrir %2").arg(familia, f.fileName()));
  return importarTipografia(f.readAll(), familia, trazado, indice);
}

}  // namespace mtz
