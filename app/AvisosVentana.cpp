#include "AvisosVentana.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "Textos.h"

namespace {

// The box wraps its text only between words, and a long path is one word:
// it would run off the box and hide its end. A long word may be broken
// after any of its characters (a zero-width space, which shows nothing).
QString partible(const QString& texto) {
  constexpr qsizetype Largo = 40;
  QString partido;
  qsizetype palabra = 0;
  for (const QChar c : texto) {
    partido += c;
    palabra = c.isSpace() ? 0 : palabra + 1;
    if (palabra >= Largo && !c.isHighSurrogate()) partido += QChar(0x200B);
  }
  return partido;
}

}  // namespace

avisos::Respuesta mostrarCajaDeMensaje(const avisos::Aviso& aviso) {
  QMessageBox caja(aviso.icono == avisos::Icono::Critico ? QMessageBox::Critical : QMessageBox::NoIcon, aviso.titulo,
                   partible(aviso.texto), QMessageBox::NoButton, QApplication::activeWindow());
  caja.setTextFormat(Qt::PlainText);
  // Buttons of one role keep the order they are added in, whatever the
  // desktop's button layout: "Sí" always comes first.
  if (aviso.botones == avisos::Botones::SiNo) {
    QPushButton* si = caja.addButton(textos::BotonSi, QMessageBox::ActionRole);
    QPushButton* no = caja.addButton(textos::BotonNo, QMessageBox::ActionRole);
    caja.setDefaultButton(si);
    caja.setEscapeButton(no);
    caja.exec();
    return caja.clickedButton() == si ? avisos::Respuesta::Si : avisos::Respuesta::No;
  }
  QPushButton* aceptar = caja.addButton(textos::BotonAceptar, QMessageBox::AcceptRole);
  caja.setDefaultButton(aceptar);
  caja.setEscapeButton(aceptar);
  caja.exec();
  return avisos::Respuesta::Aceptar;
}
