#include "AvisosVentana.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "Textos.h"

avisos::Respuesta mostrarCajaDeMensaje(const avisos::Aviso& aviso) {
  QMessageBox caja(aviso.icono == avisos::Icono::Critico ? QMessageBox::Critical : QMessageBox::NoIcon, aviso.titulo,
                   aviso.texto, QMessageBox::NoButton, QApplication::activeWindow());
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
