#pragma once
// A picture as empaquetar writes it into the program.

#include <QtGlobal>

struct ImagenEmpaquetada {
  const char* nombre;
  int ancho;
  int alto;
  const quint32* pixeles;  // 0xAARRGGBB, premultiplied, row after row
};

extern const ImagenEmpaquetada ImagenesEmpaquetadas[];
extern const int CantidadDeImagenes;
