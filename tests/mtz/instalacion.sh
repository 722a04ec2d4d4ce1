#!/usr/bin/env bash
# cmake --install into a temporary prefix: mtz's manual pages complete, the
# package's documents, the menu entry valid, and the launcher preparing a
# user's working folder without ever overwriting the user's fonts. lintian
# (the package stage) checks each page's warnings and each icon's size.
set -euo pipefail
compilacion=$1 prefijo=$2
rm -rf "$prefijo"
cmake --install "$compilacion" --prefix "$prefijo" >/dev/null
falla() { echo "$*"; exit 1; }

# mtz's pages give every command, option and format of mtz --help an entry of its own. The names come from
# the help's own lines, and a kind of which it gives none fails rather than checks nothing.
ayuda=$("$prefijo/bin/mtz" --help)
mapfile -t ordenes < <(grep -oP '^  mtz \K[a-z]+' <<<"$ayuda")
mapfile -t opciones < <(grep -oP '^  \K(-[a-z], )?--[a-z-]+' <<<"$ayuda")
mapfile -t formatos < <(grep -oP '^ {8}\K[a-z0-9]+(?= )' <<<"$ayuda")  # the rows under export
entradas() {  # SECTION NAME...: each NAME starts a line indented by 7 in SECTION of the page in $texto
  local seccion=$1 nombre
  shift
  [ $# -gt 0 ] || falla "mtz --help no da nada para $seccion"
  for nombre; do
    awk -v s="$seccion" '/^[^ ]/ { dentro = $0 == s } dentro' <<<"$texto" | grep -qE -- "^ {7}$nombre( |$)" ||
      falla "$carpeta/mtz.1 no tiene entrada para $nombre en $seccion"
  done
}
for secciones in "man1 COMMANDS OPTIONS FORMATS" "es/man1 ÓRDENES OPCIONES FORMATOS"; do
  read -r carpeta seccionOrdenes seccionOpciones seccionFormatos <<<"$secciones"
  texto=$(LC_ALL=C.UTF-8 man -l "$prefijo/share/man/$carpeta/mtz.1.gz")
  entradas "$seccionOrdenes" "${ordenes[@]}"
  entradas "$seccionOpciones" "${opciones[@]}"
  entradas "$seccionFormatos" "${formatos[@]}"
done

doc=$prefijo/share/doc/grafolux
head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
diff <(sed -n '/^Permission/,$p' "$(dirname "$0")/../../LICENSE") <(sed -n '/^ Permission/,$s/^ \.\{0,1\}//p' "$doc/copyright")
version=$("$prefijo/bin/mtz" --version | awk '{ print $NF }')
zcat "$doc/changelog.gz" | head -1 | grep -q "^grafolux ($version) " || falla "changelog.gz no empieza por $version"

[ ! -e "$prefijo/share/grafolux/fuentes" ] || falla "los dibujos fuente no son datos"
# The menu entry opens the font files' type, known by the name; the software centres' metadata is valid.
menu=$prefijo/share/applications/grafolux.desktop
grep -qx 'Exec=grafolux %f' "$menu" && grep -qx 'Icon=grafolux' "$menu" || falla "$menu"
desktop-file-validate "$menu"
tipos=$(mktemp -d) && cp -r "$prefijo/share/mime" "$tipos/"
avisos=$(XDG_DATA_DIRS=$tipos update-mime-database "$tipos/mime" 2>&1) && [ -z "$avisos" ] || falla "$avisos"
grep -qx "[0-9]*:$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$menu"):\*\.mtz" "$tipos/mime/globs2" || falla "sin *.mtz"
appstreamcli validate --no-net "$prefijo"/share/metainfo/*.metainfo.xml >/dev/null

# The installed command, with a stand-in editor that says where it started and on what, and no display
# (messages go to standard error). Each case runs on what the one above left: its change, the launcher, its check.
orden=$prefijo/bin/grafolux editor=$prefijo/libexec/grafolux/grafolux plantilla=$prefijo/share/grafolux casa=$(mktemp -d)
printf '#!/bin/sh\necho "$(pwd)" "$@"\n' >"$editor" && chmod 755 "$casa"
trap 'chmod -R u+w "$casa"; rm -rf "$casa" "$casa".* "$tipos"' EXIT
trabajo=$casa/.local/share/grafolux como=() args=()
[ "$(id -u)" -ne 0 ] && otro=() || otro=(setpriv --reuid=65534 --regid=65534 --clear-groups)  # as nobody
lanzar() { (cd "$casa" && "${como[@]}" env -u DISPLAY -u WAYLAND_DISPLAY HOME="$casa" XDG_DATA_HOME= "$@" "$orden" "${args[@]}"); }
# lanzado CASE EXPECTED ERROR [VARIABLE=VALUE...]: the launcher, run as "${como[@]}" with "${args[@]}", ends
# with EXPECTED (its exit status, then the folder and arguments the editor got) and says ERROR, or nothing.
lanzado() {
  local caso=$1 esperado=$2 error=$3 real codigo=0
  shift 3
  real=$(lanzar "$@" 2>"$casa.err") || codigo=$?
  [ "$codigo${real:+ $real}" = "$esperado" ] || falla "$caso: $codigo $real; $(cat "$casa.err")"
  if [ -n "$error" ]; then grep -q "$error" "$casa.err"; else [ ! -s "$casa.err" ]; fi || falla "$caso: $(cat "$casa.err")"
}
lanzado "primer inicio" "0 $trabajo" "" && diff -r "$plantilla" "$trabajo" || falla "primer inicio"
lanzado XDG_DATA_HOME "0 $casa/datos/grafolux" "" XDG_DATA_HOME="$casa/datos"
args=("a b.mtz"); lanzado "un archivo, desde donde se escribe" "0 $trabajo $casa/a b.mtz" "" XDG_DATA_HOME=relativo
args=(); echo cambiada >"$trabajo/tipografias/basica.mtz"; rm "$trabajo"/{tipografias/digitos.mtz,ayuda/editor.html}
lanzado "fuentes del usuario" "0 $trabajo" "" && [ "$(cat "$trabajo/tipografias/basica.mtz")" = cambiada ] &&
  [ ! -e "$trabajo/tipografias/digitos.mtz" ] && [ -f "$trabajo/ayuda/editor.html" ] || falla "fuentes del usuario"
# As a user who cannot write in the home.
como=("${otro[@]}"); rm "$trabajo/ayuda/Archivos/marca.txt"; chmod -R a-w "$casa"
lanzado "ayuda que no se puede reponer" "0 $trabajo" "" && [ ! -e "$trabajo/ayuda/Archivos/marca.txt" ] || falla "repuesta"
chmod -R u+w "$casa"; rm -r "$trabajo"; chmod -R a-w "$casa"
lanzado "casa de solo lectura" "0 $plantilla" "para grabar" && [ ! -e "$trabajo" ] || falla "$trabajo creada"
args=(/a.mtz); lanzado "casa de solo lectura, un archivo" "0 $plantilla /a.mtz" ""
como=() args=(); chmod -R u+w "$casa"; mv "$plantilla/tipografias" "$casa.t"
lanzado "falta la plantilla" 1 "Faltan los datos"
mv "$casa.t" "$plantilla/tipografias"; chmod a-x "$editor"; lanzado "falta el editor" 1 "No se puede iniciar el editor"

# Many first starts at once: each starts in the user's folder, which ends with the template alone.
chmod a+x "$editor"
for ronda in 1 2 3 4 5; do
  rm -rf "$trabajo" && for i in $(seq 32); do lanzar >"$casa.$i" 2>&1 & done
  wait
  [ "$(sort -u "$casa".[0-9]*)" = "$trabajo" ] && diff -r "$plantilla" "$trabajo" || falla "$(cat "$casa".[0-9]*)"
done
