#include "ListaCaracteres.h"

namespace fontfile {

const QStringList& ListaCaracteres() {
  static const QStringList lista = [] {
    QStringList l;
    const auto agregar = [&l](const char16_t* caracteres) {
      for (const char16_t* p = caracteres; *p != 0; ++p) l.append(QString(QChar(*p)));
    };
    agregar(u"abcdefghijklmn\u00F1opqrstuvwxyz");
    agregar(u"ABCDEFGHIJKLMN\u00D1OPQRSTUVWXYZ");
    agregar(u"\u00E1\u00E9\u00ED\u00F3\u00FA");  // á é í ó ú
    agregar(u"\u00E0\u00E8\u00EC\u00F2\u00F9");  // à è ì ò ù
    agregar(u"\u00E2\u00EA\u00EE\u00F4\u00FB");  // â ê î ô û
    agregar(u"\u00E4\u00EB\u00EF\u00F6\u00FC");  // ä ë ï ö ü
    agregar(u"0123456789");
    agregar(u".,;:\"'\u00A1!\u00BF?<>#$%&/\\()[]{}=+-_*\u00BA|@\u20AC\u00E7\u00C7~^");
    return l;
  }();
  return lista;
}

}  // namespace fontfile
