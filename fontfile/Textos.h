#pragma once
// Every text a person reads in the editor, in one place: the window's
// caption, each control's caption, tool tip and the name a screen reader
// says, and every message. They are shown exactly as written here.

#include <QString>
#include <string_view>

namespace textos {

inline const QString TituloAplicacion = QStringLiteral("Grafolux");

// The texts of one control of the window, by its name; nullptr where it has
// none. A control without a caption of its own is named for a screen reader
// by the caption or tool tip that tells what it is. The window checks each
// name against its controls when it is compiled.
struct TextosDeControl {
  const char* control;
  const char* texto;
  const char* ayuda;
  const char* nombreAccesible;
};

inline constexpr const char* DireccionDelFabricante = "https://www.grafolux.example/";

inline constexpr TextosDeControl Controles[] = {
    {"Image1", nullptr, nullptr, "Grafolux"},
    {"cmdAyuda", "Ayuda", "Abre la ayuda del Grafolux.", nullptr},
    {"lblCarac", "Caracter:", nullptr, nullptr},
    {"cboCarac", nullptr, "Seleccione el caracter que quiera editar.", "Caracter:"},
    {"cmdLeer", "Leer", "Lee el caracter desde el archivo.", nullptr},
    {"cmdGrabar", "Grabar", "Almacena el caracter en el archivo.", nullptr},
    {"cmdRotarIzq", nullptr, "Rota el dibujo 90º a la izquierda.", "Rota el dibujo 90º a la izquierda."},
    {"cmdArr", nullptr, "Desplaza el dibujo hacia arriba.", "Desplaza el dibujo hacia arriba."},
    {"cmdRotarDer", nullptr, "Rota el dibujo 90º a la derecha.", "Rota el dibujo 90º a la derecha."},
    {"cmdIzq", nullptr, "Desplaza el dibujo hacia la izquierda.", "Desplaza el dibujo hacia la izquierda."},
    {"cmdAba", nullptr, "Desplaza el dibujo hacia abajo.", "Desplaza el dibujo hacia abajo."},
    {"cmdDer", nullptr, "Desplaza el dibujo hacia la derecha.", "Desplaza el dibujo hacia la derecha."},
    {"cmdBorrar", "Borrar", "Vacía la matríz.", nullptr},
    {"cmdLlenar", "Llenar", "Llena la matríz.", nullptr},
    {"cmdReflejoH", "Reflejo Horizontal", "Reflejo horizontal de la matríz.", nullptr},
    {"cmdReflejoV", "Reflejo Vertical", "Reflejo Vertical de la matríz", nullptr},
    {"lblArch", "Archivo de trabajo", nullptr, nullptr},
    {"txtArch", nullptr, nullptr, "Archivo de trabajo"},
    {"cmdCrear", "Crear", "Crea un archivo de fuentes vacío.", nullptr},
    {"filArchivos", nullptr, "Doble click sobre un archivo para seleccionarlo.", "Archivos de fuentes"},
    {"imgTolvane", nullptr, DireccionDelFabricante, DireccionDelFabricante},
    {"lblTolvane", nullptr, DireccionDelFabricante, nullptr},
};

constexpr const TextosDeControl* deControl(std::string_view control) {
  for (const TextosDeControl& t : Controles) {
    if (t.control == control) return &t;
  }
  return nullptr;
}

// Cell (r, c) of the grid, for a screen reader.
inline QString nombreDeCelda(int r, int c) { return QStringLiteral("Fila %1, columna %2").arg(r).arg(c); }

// The buttons of the message boxes.
inline const QString BotonAceptar = QStringLiteral("Aceptar");
inline const QString BotonSi = QStringLiteral("Sí");
inline const QString BotonNo = QStringLiteral("No");

// The keys of the drawing, in the grid's menu on the right button.
inline const QString AccionDeshacer = QStringLiteral("Deshacer");
inline const QString AccionRehacer = QStringLiteral("Rehacer");
inline const QString AccionCopiar = QStringLiteral("Copiar");
inline const QString AccionPegar = QStringLiteral("Pegar");
inline const QString AccionInvertir = QStringLiteral("Invertir");

// Messages.
inline const QString SinNombreParaCrear = QStringLiteral("Debe escribir un nombre para el archivo.");
inline const QString ArchivoYaExiste = QStringLiteral("El archivo ya existe.");
inline const QString SinArchivoDeTrabajo = QStringLiteral("Debe seleccionar un archivo de trabajo.");
inline const QString SinCaracter = QStringLiteral("Seleccione un caracter de la lista.");
inline const QString PreguntaSobreescribir = QStringLiteral("El caracter ya existe, desea sobreescribirlo?");
inline const QString TituloSobreescribir = QStringLiteral("Sobreescribe el caracter?");
inline const QString NoSePuedeEscribir = QStringLiteral("No se puede escribir el archivo.");
inline const QString NoSePuedeLeer = QStringLiteral("No se puede leer el archivo.");
inline const QString FormatoInadecuado = QStringLiteral("Error: El archivo no tiene el formato adecuado.");
inline const QString ArchivoLleno = QStringLiteral("El archivo está lleno: no admite más de 32767 caracteres.");
inline const QString DemasiadosRegistros = QStringLiteral("Error: El archivo tiene más de 32767 registros.");
inline const QString NombreConBarra = QStringLiteral("El nombre del archivo no puede contener una barra (/).");

inline QString archivoNoExiste(const QString& ruta) {
  return QStringLiteral("El archivo \"") + ruta + QStringLiteral("\" no existe.");
}
inline QString noSePuedeAbrir(const QString& ruta) {
  return QStringLiteral("No se puede abrir el archivo \"") + ruta + QStringLiteral("\".");
}
inline QString noSePuedeCrear(const QString& ruta) {
  return QStringLiteral("No se puede crear el archivo \"") + ruta + QStringLiteral("\".");
}
inline QString caracterNoEstaEnArchivo(const QString& caracter) {
  return QStringLiteral("El carácter ") + caracter + QStringLiteral(" no está en el archivo.");
}
inline QString extensionIncorrecta(const QString& extension) {
  return QStringLiteral("La extensión del archivo (") + extension +
         QStringLiteral(") no es correcta. Puede escribir el nombre sin extensión.");
}
inline QString noEsFuente(const QString& ruta) {
  return QStringLiteral("El archivo \"") + ruta + QStringLiteral("\" no es una fuente: su nombre no termina en .mtz.");
}
inline const QString UsoDelEditor = QStringLiteral("Grafolux abre un solo archivo de fuentes: grafolux [ARCHIVO.mtz]");
inline QString faltaPlantilla(const QString& plantilla) {
  return QStringLiteral("Faltan los datos de Grafolux en \"") + plantilla +
         QStringLiteral("\": vuelva a instalar el programa.");
}
inline QString carpetaSinEscritura(const QString& carpeta) {
  return QStringLiteral("No se puede escribir en la carpeta de trabajo \"") + carpeta +
         QStringLiteral(
             "\". Se abren las fuentes de ejemplo instaladas, que no se pueden cambiar: para grabar, "
             "abra una fuente de una carpeta en la que se pueda escribir (grafolux ARCHIVO.mtz).");
}
inline QString noSeIniciaElEditor(const QString& editor, const QString& motivo) {
  return QStringLiteral("No se puede iniciar el editor \"") + editor + QStringLiteral("\": ") + motivo +
         QLatin1Char('.');
}
inline QString ayudaSinPrograma(const QString& pagina) {
  return QStringLiteral("No hay un programa para abrir la página de ayuda \"") + pagina + QStringLiteral("\".");
}
inline QString rutaNoEncontrada(const QString& carpeta) {
  return QStringLiteral("No se encontró la ruta de acceso: \"") + carpeta + QStringLiteral("\".");
}

}  // namespace textos
