#!/usr/bin/env bash
# cmake --install into a temporary prefix: a manual page that reads cleanly
# for every program, the icon at every size, the package's documents, the
# menu entry valid, and the launcher preparing a user's working folder
# without ever overwriting the user's fonts.
set -euo pipefail
compilacion=$1 prefijo=$2
rm -rf "$prefijo"
cmake --install "$compilacion" --prefix "$prefijo" >/dev/null
falla() { echo "$*"; exit 1; }

# man warns as lintian would; mtz's page gives every command, option and
# format of mtz --help an entry of its own.
for programa in "$prefijo"/bin/*; do
  pagina=$prefijo/share/man/man1/$(basename "$programa").1.gz
  avisos=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$pagina" 2>&1 >/dev/null) &&
    [ -z "$avisos" ] || falla "$pagina: $avisos"
done
texto=$(LC_ALL=C.UTF-8 man -l "$prefijo/share/man/man1/mtz.1.gz")
ayuda=$("$prefijo/bin/mtz" --help)
entradas() {  # the entries of a section of the page: SECTION PATTERN-IN-HELP
  for palabra in $(grep -oE -- "$2" <<<"$ayuda" | sed 's/^  mtz //; s/^--format //' | tr '|' ' '); do
    awk -v s="$1" '/^[^ ]/ { dentro = $0 == s } dentro' <<<"$texto" | grep -qE -- "^ {7}(-[a-z], )?$palabra( |,|$)" ||
      falla "la página de mtz no tiene entrada para $palabra en $1"
  done
}
entradas ÓRDENES '^  mtz [a-z]+'
entradas OPCIONES '--[a-z-]+'
entradas FORMATOS '--format [a-z|]+'

for lado in 16 32 48 64 128 256; do
  icono=$prefijo/share/icons/hicolor/${lado}x$lado/apps/grafolux.png
  medida=$(od -An -tu1 -j16 -N8 "$icono" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
  [ "$medida" = "${lado}x$lado" ] || falla "$icono mide $medida"
done

doc=$prefijo/share/doc/grafolux
head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
diff <(sed -n '/^Permission/,$p' "$(dirname "$0")/../../LICENSE") <(sed -n '/^ Permission/,$s/^ \.\{0,1\}//p' "$doc/copyright")
version=$("$prefijo/bin/mtz" --version | awk '{ print $NF }')
zcat "$doc/changelog.gz" | head -1 | grep -q "^grafolux ($version) " || falla "changelog.gz no empieza por $version"

[ ! -e "$prefijo/share/grafolux/fuentes" ] || falla "los dibujos fuente no son datos"
"$prefijo/bin/mtz" check "$prefijo/share/grafolux/tipografias/basica.mtz" >/dev/null
menu=$prefijo/share/applications/grafolux.desktop
grep -qx 'Exec=grafolux-lanzador' "$menu" && grep -qx 'Icon=grafolux' "$menu" || falla "$menu"
desktop-file-validate "$menu"

# The editor itself needs a display: a stand-in says where it was started.
printf '#!/bin/sh\npwd\n' >"$prefijo/bin/grafolux"
casa=$(mktemp -d)
trap 'rm -rf "$casa"' EXIT
donde=$(HOME=$casa XDG_DATA_HOME= "$prefijo/bin/grafolux-lanzador")
[ "$donde" = "$casa/.local/share/grafolux" ] || falla "empezó en $donde"
cmp "$donde/tipografias/basica.mtz" "$prefijo/share/grafolux/tipografias/basica.mtz"
[ -f "$donde/ayuda/editor.html" ] && [ -f "$donde/ayuda/Archivos/marca.txt" ] || falla "no copió la ayuda"

# A second start keeps the user's changed and deleted fonts, and puts back missing help.
echo cambiada >"$donde/tipografias/basica.mtz"
rm "$donde/tipografias/digitos.mtz" "$donde/ayuda/editor.html"
HOME=$casa XDG_DATA_HOME= "$prefijo/bin/grafolux-lanzador" >/dev/null
[ "$(cat "$donde/tipografias/basica.mtz")" = cambiada ] || falla "sobrescribió una fuente"
[ ! -e "$donde/tipografias/digitos.mtz" ] || falla "devolvió una fuente borrada"
[ -f "$donde/ayuda/editor.html" ] || falla "no repuso la ayuda"
[ -z "$(ls -A "$donde" | grep '^\.tipografias')" ] || falla "quedó una carpeta temporal"
[ "$(HOME=$casa XDG_DATA_HOME=$casa/datos "$prefijo/bin/grafolux-lanzador")" = "$casa/datos/grafolux" ]
