// Draws the window's pictures and the sample logo. Run by hand after a change
// to a picture (see resources/dibujar/README.md); its output is committed so
// that a build never depends on the fonts of the machine that builds it.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

namespace {

const QColor GrisClaro(0xC0, 0xC0, 0xC0);

QImage lienzo(int ancho, int alto, QColor fondo = GrisClaro) {
  QImage imagen(ancho, alto, QImage::Format_RGB888);
  imagen.fill(fondo);
  return imagen;
}

void guardar(const QImage& imagen, const QString& ruta, const char* formato = "PNG", int calidad = -1) {
  if (!imagen.save(ruta, formato, calidad)) {
    (void)std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(ruta));
    std::exit(1);
  }
}

// A straight arrow pointing up, drawn on a 23 x 28 canvas; the others are
// turned copies of it. The button shows its picture centred, inside its
// frame and one pixel down and right while it is held: the arrow keeps to
// the part of the canvas that shows whole in every one of the four turns,
// held or not (x 2 to 21, y 5 to 23).
QImage flechaArriba() {
  QImage imagen = lienzo(23, 28);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const QPolygonF flecha({{11.5, 5}, {21, 14.5}, {15.5, 14.5}, {15.5, 23}, {7.5, 23}, {7.5, 14.5}, {2, 14.5}});
  p.drawPolygon(flecha);
  return imagen;
}

// A thick arc rising from the right and curving over to the left, its head
// pointing down and to the left: a quarter turn to the left.
QImage giroIzquierda() {
  QImage imagen = lienzo(25, 16);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing);
  // Narrowed about the middle into x 3 to 22, which shows whole in the
  // button's frame, held or not, and so does its mirror image.
  p.translate(12.5, 0);
  p.scale(0.85, 1);
  p.translate(-12.5, 0);
  QPen trazo(Qt::black, 3.2, Qt::SolidLine, Qt::FlatCap);
  p.setPen(trazo);
  QPainterPath arco;
  arco.moveTo(22, 15);
  arco.cubicTo(22, 3, 11, 1, 7.5, 8.5);
  p.drawPath(arco);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF({{1.5, 14.5}, {2.5, 4.5}, {12, 10}}));
  return imagen;
}

// Outside its rounded corners the banner is transparent, so that they show
// the window's own colour, whatever the desktop's palette.
QImage banner() {
  QImage imagen(435, 55, QImage::Format_ARGB32_Premultiplied);
  imagen.fill(Qt::transparent);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sombra(0, 0, 0, 55);
  sombra.setColorAt(0, QColor(0xF4, 0xF4, 0xF4));
  sombra.setColorAt(1, QColor(0xB8, 0xB8, 0xB8));
  p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
  p.setBrush(sombra);
  p.drawRoundedRect(QRectF(0.5, 0.5, 434, 54), 12, 12);
  QFont letra(QStringLiteral("DejaVu Sans"));
  letra.setBold(true);
  letra.setPixelSize(36);
  p.setFont(letra);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 0, 435, 55), Qt::AlignCenter, QStringLiteral("Grafolux"));
  return imagen;
}

// The icon's colours: the 16 of the classic palette.
QImage dieciseisColores(const QImage& imagen) {
  QList<QRgb> paleta;
  for (QColor color :
       {Qt::black, Qt::white, Qt::red, Qt::darkRed, Qt::gray, Qt::darkGray, Qt::lightGray, Qt::green, Qt::darkGreen,
        Qt::blue, Qt::darkBlue, Qt::cyan, Qt::darkCyan, Qt::magenta, Qt::yellow, Qt::darkYellow}) {
    paleta.append(QColor(color).rgb());
  }
  return imagen.convertToFormat(QImage::Format_Indexed8, paleta, Qt::ThresholdDither);
}

// The icon's serif "a", in the top left of a 32 x 32 drawing, at every size.
void letraA(QPainter& p) {
  QFont serif(QStringLiteral("DejaVu Serif"));
  serif.setPixelSize(17);
  serif.setBold(true);
  p.setFont(serif);
  p.setPen(Qt::black);
  p.drawText(QRectF(0, -3, 16, 18), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("a"));
}

// 32 x 32 in 16 colours: a serif "a", an arrow down and to the right, and the
// same letter as red square dots.
QImage icono() {
  QImage imagen(32, 32, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  QPainter p(&imagen);
  letraA(p);
  p.fillRect(4, 16, 2, 11, Qt::black);  // down
  p.fillRect(4, 25, 9, 2, Qt::black);   // and right
  p.drawPolygon(QPolygon({{13, 22}, {17, 26}, {13, 29}}));
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygon({{13, 22}, {17, 25}, {13, 28}}));
  const char* puntos[] = {"0110", "0001", "0111", "1001", "0111"};  // a dot-matrix "a"
  for (int f = 0; f < 5; ++f) {
    for (int c = 0; c < 4; ++c) {
      if (puntos[f][c] == '1') p.fillRect(19 + 3 * c, 16 + 3 * f, 2, 2, QColor(0xFF, 0, 0));
    }
  }
  p.end();
  return dieciseisColores(imagen);
}

// The menus' icon at 16 x 16, set pixel by pixel: scaled down, the letter
// turns grey and the dots run into each other. The same tile as the larger
// ones: white with a grey edge and round corners, clear around them.
// '#' black, 'r' red, '.' white, 'g' the edge, ' ' clear.
QImage icono16() {
  // clang-format off
  const char* filas[] = {
      "  gggggggggggg  ",
      " g............g ",
      "g..###.........g",
      "g.....#........g",
      "g..####...r.r..g",
      "g.#...#........g",
      "g..####.......rg",
      "g..............g",
      "g..#......r.r.rg",
      "g..#...........g",
      "g..#....r.....rg",
      "g..#..#........g",
      "g..#####..r.r.rg",
      "g.....#........g",
      " g............g ",
      "  gggggggggggg  ",
  };
  // clang-format on
  QImage imagen(16, 16, QImage::Format_ARGB32);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const char c = filas[y][x];
      imagen.setPixel(x, y,
                      c == '#'   ? qRgb(0, 0, 0)
                      : c == 'r' ? qRgb(0xFF, 0, 0)
                      : c == 'g' ? qRgb(0x99, 0x99, 0x99)
                      : c == '.' ? qRgb(0xFF, 0xFF, 0xFF)
                                 : qRgba(0, 0, 0, 0));
    }
  }
  return imagen;
}

// The icon for menus and docks from 32 px up: the drawing of the 32 x 32
// one on its 32-unit grid, scaled and smoothed, on a white tile with round
// corners and a grey edge so that it stands out on a dark panel too.
QImage iconoGrande(int lado) {
  QImage imagen(lado, lado, QImage::Format_ARGB32_Premultiplied);
  imagen.fill(Qt::transparent);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(lado / 32.0, lado / 32.0);
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.5));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(0.25, 0.25, 31.5, 31.5), 4, 4);
  // The drawing keeps clear of the round corners.
  p.translate(2, 2);
  p.scale(28 / 32.0, 28 / 32.0);
  letraA(p);
  QPainterPath flecha;
  flecha.moveTo(5, 16);
  flecha.lineTo(5, 26);
  flecha.lineTo(13, 26);
  p.strokePath(flecha, QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF({{12.5, 22.5}, {17.5, 26}, {12.5, 29.5}}));
  p.setBrush(QColor(0xFF, 0, 0));
  const char* puntos[] = {"0110", "0001", "0111", "1001", "0111"};
  for (int f = 0; f < 5; ++f) {
    for (int c = 0; c < 4; ++c) {
      if (puntos[f][c] == '1') p.drawRoundedRect(QRectF(19 + 3 * c, 16 + 3 * f, 2.2, 2.2), 0.4, 0.4);
    }
  }
  return imagen;
}

// The sample logo beside the brand text: the editor's name lit on a small
// dot-matrix display.
QImage logo() {
  QImage imagen = lienzo(201, 117, QColor(0x18, 0x18, 0x20));
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing);
  QImage texto(40, 11, QImage::Format_RGB32);
  texto.fill(Qt::black);
  {
    QPainter t(&texto);
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setPixelSize(10);
    letra.setBold(true);
    t.setFont(letra);
    t.setPen(Qt::white);
    t.drawText(texto.rect(), Qt::AlignCenter, QStringLiteral("GFX"));
  }
  for (int y = 0; y < texto.height(); ++y) {
    for (int x = 0; x < texto.width(); ++x) {
      const bool luz = qGray(texto.pixel(x, y)) > 110;
      p.setPen(Qt::NoPen);
      p.setBrush(luz ? QColor(0xFF, 0x40, 0x20) : QColor(0x40, 0x20, 0x20));
      p.drawEllipse(QPointF(6.5 + x * 4.7, 20 + y * 4.7), 1.9, 1.9);
    }
  }
  QFont pie(QStringLiteral("DejaVu Sans"));
  pie.setPixelSize(11);
  p.setFont(pie);
  p.setPen(QColor(0xE0, 0xE0, 0xE0));
  p.drawText(QRect(0, 92, 201, 20), Qt::AlignCenter, QStringLiteral("Grafolux · matrices de puntos"));
  return imagen;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication aplicacion(argc, argv);
  if (argc != 4) {
    (void)std::fprintf(stderr, "uso: dibujar CARPETA_DE_IMAGENES CARPETA_DEL_LOGO CARPETA_DE_ICONOS\n");
    return 2;
  }
  const QDir imagenes(QString::fromLocal8Bit(argv[1]));
  const QDir archivos(QString::fromLocal8Bit(argv[2]));
  const QDir iconos(QString::fromLocal8Bit(argv[3]));
  const QImage arriba = flechaArriba();
  const QImage izquierdaGiro = giroIzquierda();
  guardar(arriba, imagenes.filePath("arriba.png"));
  guardar(arriba.mirrored(false, true), imagenes.filePath("abajo.png"));
  guardar(arriba.transformed(QTransform().rotate(-90)), imagenes.filePath("izquierda.png"));
  guardar(arriba.transformed(QTransform().rotate(90)), imagenes.filePath("derecha.png"));
  guardar(izquierdaGiro, imagenes.filePath("rotar_izquierda.png"));
  guardar(izquierdaGiro.mirrored(true, false), imagenes.filePath("rotar_derecha.png"));
  guardar(banner(), imagenes.filePath("banner.png"));
  guardar(icono(), imagenes.filePath("grafolux.png"));
  guardar(logo(), archivos.filePath("logo.jpg"), "JPEG", 90);
  // The icon at each size of the menus; the window's own is above.
  guardar(icono16(), iconos.filePath("grafolux-16.png"));
  for (const int lado : {32, 48, 64, 128, 256}) {
    guardar(iconoGrande(lado), iconos.filePath(QStringLiteral("grafolux-%1.png").arg(lado)));
  }
  return 0;
}
