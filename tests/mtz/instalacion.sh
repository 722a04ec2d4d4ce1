#!/usr/bin/env bash
# cmake --install into a temporary prefix: every file in its place, the menu
# entry valid, and the launcher preparing a user's working folder without
# ever overwriting the user's fonts.
set -euo pipefail
compilacion=$1
prefijo=$2
rm -rf "$prefijo"
cmake --install "$compilacion" --prefix "$prefijo" >/dev/null

for f in bin/grafolux bin/mtz bin/grafolux-lanzador share/applications/grafolux.desktop \
  share/icons/hicolor/32x32/apps/grafolux.png share/grafolux/tipografias/basica.mtz \
  share/grafolux/tipografias/digitos.mtz share/grafolux/ayuda/editor.html share/grafolux/ayuda/Archivos/marca.txt \
  share/grafolux/ayuda/Archivos/logo.jpg; do
  [ -f "$prefijo/$f" ] || { echo "falta $f"; exit 1; }
done
[ ! -e "$prefijo/share/grafolux/fuentes" ] || { echo "los dibujos fuente no son datos"; exit 1; }
"$prefijo/bin/mtz" check "$prefijo/share/grafolux/tipografias/basica.mtz" >/dev/null
grep -qx 'Exec=grafolux-lanzador' "$prefijo/share/applications/grafolux.desktop"
grep -qx 'Icon=grafolux' "$prefijo/share/applications/grafolux.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefijo/share/applications/grafolux.desktop"
fi

# The editor itself needs a display: a stand-in says where it was started.
cat >"$prefijo/bin/grafolux" <<'FIN'
#!/bin/sh
pwd
FIN
chmod +x "$prefijo/bin/grafolux"
casa=$(mktemp -d)
trap 'rm -rf "$casa"' EXIT
donde=$(HOME=$casa XDG_DATA_HOME= "$prefijo/bin/grafolux-lanzador")
[ "$donde" = "$casa/.local/share/grafolux" ] || { echo "empezó en $donde"; exit 1; }
cmp "$donde/tipografias/basica.mtz" "$prefijo/share/grafolux/tipografias/basica.mtz"
[ -f "$donde/ayuda/editor.html" ] && [ -f "$donde/ayuda/Archivos/marca.txt" ]

# A second start keeps the user's changed and deleted fonts, and puts back missing help.
echo cambiada >"$donde/tipografias/basica.mtz"
rm "$donde/tipografias/digitos.mtz" "$donde/ayuda/editor.html"
HOME=$casa XDG_DATA_HOME= "$prefijo/bin/grafolux-lanzador" >/dev/null
[ "$(cat "$donde/tipografias/basica.mtz")" = cambiada ] || { echo "sobrescribió una fuente"; exit 1; }
[ ! -e "$donde/tipografias/digitos.mtz" ] || { echo "devolvió una fuente borrada"; exit 1; }
[ -f "$donde/ayuda/editor.html" ] || { echo "no repuso la ayuda"; exit 1; }
[ -z "$(ls -A "$donde" | grep '^\.tipografias')" ] || { echo "quedó una carpeta temporal"; exit 1; }

# XDG_DATA_HOME chooses the folder when set.
otra=$(HOME=$casa XDG_DATA_HOME=$casa/datos "$prefijo/bin/grafolux-lanzador")
[ "$otra" = "$casa/datos/grafolux" ]
echo "instalación correcta"
