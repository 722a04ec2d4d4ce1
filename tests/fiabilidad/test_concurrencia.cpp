// Two editors storing into one font file at the same moment, and an editor
// killed while it stores. The helper program `grabador` is the other editor;
// see its header for what it writes, which is what these checks rely on.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>
#include <set>

#include "Apoyo.h"
#include "FontRecord.h"
#include "ListaCaracteres.h"

namespace {

constexpr int Distintos = 121;  // the whole list

// The set of characters grabador stores, as stored bytes.
std::set<char> caracteresDelGrabador() {
  std::set<char> s;
  for (int j = 0; j < Distintos; ++j) {
    s.insert(fontfile::aWindows1252(fontfile::ListaCaracteres().at(j)).at(0));
  }
  return s;
}

// Every complete record whole: L = 1, a character grabador stores, ten equal
// codes below 128 and a zero last byte. Returns the characters in order.
std::vector<char> registrosSanos(const QByteArray& datos) {
  static const std::set<char> validos = caracteresDelGrabador();
  std::vector<char> vistos;
  for (qsizetype desde = 0; desde + 24 <= datos.size(); desde += 24) {
    const char* r = datos.constData() + desde;
    SCOPED_TRACE(desde / 24 + 1);
    EXPECT_EQ(qFromLittleEndian<quint16>(r), 1);
    EXPECT_TRUE(validos.count(r[2]));
    const auto primero = qFromLittleEndian<qint16>(r + 3);
    EXPECT_TRUE(primero >= 0 && primero < 128);
    for (int c = 1; c < 10; ++c) EXPECT_EQ(qFromLittleEndian<qint16>(r + 3 + 2 * c), primero);
    EXPECT_EQ(r[23], 0);
    vistos.push_back(r[2]);
  }
  return vistos;
}

QProcess* grabador(QObject* padre, const QString& carpeta, int vueltas, int etiqueta, const QString& barrera = {}) {
  auto* p = new QProcess(padre);
  p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QStringList args{carpeta, QStringLiteral("f.mtz"), QString::number(vueltas), QString::number(etiqueta)};
  if (!barrera.isEmpty()) args << barrera;
  p->start(QStringLiteral(GRABADOR), args);
  EXPECT_TRUE(p->waitForStarted(10000));
  return p;
}

TEST(DosEditores, GrabandoALaVezNoPierdenNiRepitenCaracteres) {
  // Records are lost or doubled only while both append, over the first
  // stores into a fresh file; hence many rounds on fresh files.
  constexpr int Vueltas = 300;
  constexpr int Rondas = 20;
  for (int ronda = 0; ronda < Rondas; ++ronda) {
    SCOPED_TRACE(ronda);
    CarpetaDeTrabajo carpeta;
    escribirArchivo(carpeta.fuente(QStringLiteral("f.mtz")), {});
    const QString barrera = carpeta.raiz() + QStringLiteral("/adelante");
    QObject padre;
    QProcess* a = grabador(&padre, carpeta.tipografias(), Vueltas, 0, barrera);
    QProcess* b = grabador(&padre, carpeta.tipografias(), Vueltas, 1, barrera);
    escribirArchivo(barrera, {});
    for (QProcess* p : {a, b}) {
      ASSERT_TRUE(p->waitForFinished(240000));
      EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(p->exitCode(), 0);
    }

    const QByteArray datos = leerArchivo(carpeta.fuente(QStringLiteral("f.mtz")));
    EXPECT_EQ(datos.size(), 24 * Distintos);
    const std::vector<char> vistos = registrosSanos(datos);
    EXPECT_EQ(std::set<char>(vistos.begin(), vistos.end()), caracteresDelGrabador());
    // No lock file or other leftover beside the font.
    EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("f.mtz")});
  }
}

TEST(EditorMatado, AMitadDeGrabarDejaSoloRegistrosEnteros) {
  constexpr int Muertes = 40;
  CarpetaDeTrabajo carpeta;
  const QString ruta = carpeta.fuente(QStringLiteral("f.mtz"));
  escribirArchivo(ruta, {});
  int conCambios = 0;
  QByteArray antes;
  for (int i = 0; i < Muertes; ++i) {
    SCOPED_TRACE(i);
    QObject padre;
    QProcess* p = grabador(&padre, carpeta.tipografias(), 1000000, i);
    ASSERT_TRUE(p->waitForReadyRead(10000));
    QThread::usleep(QRandomGenerator::global()->bounded(200, 20000));
    p->kill();
    ASSERT_TRUE(p->waitForFinished(10000));

    const QByteArray datos = leerArchivo(ruta);
    ASSERT_EQ(datos.size() % 24, 0);
    const std::vector<char> vistos = registrosSanos(datos);
    EXPECT_EQ(std::set<char>(vistos.begin(), vistos.end()).size(), vistos.size()) << "a character stored twice";
    if (datos != antes) ++conCambios;
    antes = datos;
  }
  // The kills must have landed while storing, not before the first store.
  EXPECT_GT(conCambios, Muertes / 2);
  EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("f.mtz")});
}

}  // namespace
