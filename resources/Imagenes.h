#pragma once
// The window's pictures (banner, icon, the six arrow buttons), drawn by
// resources/dibujar and compiled into the program as pixels, so that
// start-up decodes nothing to show them.

#include <QImage>
#include <QLatin1StringView>

// The picture named like its file in resources/imagenes, without ".png",
// over the program's own read-only data; a null image for an unknown name.
QImage imagenGuardada(QLatin1StringView nombre);
