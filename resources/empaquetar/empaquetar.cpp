// Turns the window's PNG pictures into a C++ source of pixels, at build
// time, so that the program shows them without decoding anything.
//
//   empaquetar SALIDA.cpp IMAGEN.png...
//
// Each picture becomes an array of 0xAARRGGBB words (premultiplied), named
// after its file without ".png".

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc < 3) {
    (void)std::fprintf(stderr, "uso: empaquetar SALIDA.cpp IMAGEN.png...\n");
    return 2;
  }
  QString codigo;
  QTextStream salida(&codigo);
  salida << "// Written by empaquetar from the pictures in resources/imagenes.\n"
            "#include \"ImagenEmpaquetada.h\"\n\nnamespace {\n";
  QStringList entradas;
  for (int i = 2; i < argc; ++i) {
    const QString ruta = QFile::decodeName(argv[i]);
    const QImage imagen = QImage(ruta).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (imagen.isNull()) {
      (void)std::fprintf(stderr, "empaquetar: no se pudo leer %s\n", argv[i]);
      return 1;
    }
    const QString nombre = QFileInfo(ruta).completeBaseName();
    salida << "\nconst quint32 " << nombre << "[] = {";
    for (int y = 0; y < imagen.height(); ++y) {
      const auto* fila = reinterpret_cast<const quint32*>(imagen.constScanLine(y));
      for (int x = 0; x < imagen.width(); ++x) {
        salida << ((y * imagen.width() + x) % 8 == 0 ? "\n    " : " ") << "0x"
               << QString::number(fila[x], 16).rightJustified(8, u'0') << "u,";
      }
    }
    salida << "\n};\n";
    entradas << QStringLiteral("    {\"%1\", %2, %3, %1},\n").arg(nombre).arg(imagen.width()).arg(imagen.height());
  }
  salida << "\n}  // namespace\n\nconst ImagenEmpaquetada ImagenesEmpaquetadas[] = {\n"
         << entradas.join(QString()) << "};\nconst int CantidadDeImagenes = " << entradas.size() << ";\n";
  salida.flush();
  QFile archivo(QFile::decodeName(argv[1]));
  if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) || archivo.write(codigo.toUtf8()) < 0) {
    (void)std::fprintf(stderr, "empaquetar: no se pudo escribir %s\n", argv[1]);
    return 1;
  }
  return 0;
}
