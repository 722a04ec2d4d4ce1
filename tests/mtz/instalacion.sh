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

# man warns as lintian would, in English and in Spanish; mtz's pages give every command, option and
# format of mtz --help an entry of its own.
for programa in "$prefijo"/bin/*; do
  for pagina in "$prefijo"/share/man/{,es/}man1/"$(basename "$programa")".1.gz; do
    avisos=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$pagina" 2>&1 >/dev/null) &&
      [ -z "$avisos" ] || falla "$pagina: $avisos"
  done
done
ayuda=$("$prefijo/bin/mtz" --help)
entradas() {  # the entries of a section of the page: SECTION PATTERN-IN-HELP
  for palabra in $(grep -oE -- "$2" <<<"$ayuda" | sed 's/^  mtz //; s/^--format //' | tr '|' ' '); do
    awk -v s="$1" '/^[^ ]/ { dentro = $0 == s } dentro' <<<"$texto" | grep -qE -- "^ {7}(-[a-z], )?$palabra( |,|$)" ||
      falla "la página de mtz no tiene entrada para $palabra en $1"
  done
}
for secciones in "man1 COMMANDS OPTIONS FORMATS" "es/man1 ÓRDENES OPCIONES FORMATOS"; do
  read -r carpeta ordenes opciones formatos <<<"$secciones"
  texto=$(LC_ALL=C.UTF-8 man -l "$prefijo/share/man/$carpeta/mtz.1.gz")
  entradas "$ordenes" '^  mtz [a-z]+'
  entradas "$opciones" '--[a-z-]+'
  entradas "$formatos" '--format [a-z|]+'
done

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
# The menu entry opens the font files' type, known by the name; the software centres' metadata is valid.
menu=$prefijo/share/applications/grafolux.desktop
grep -qx 'Exec=grafolux %f' "$menu" && grep -qx 'Icon=grafolux' "$menu" || falla "$menu"
desktop-file-validate "$menu"
tipos=$(mktemp -d) && cp -r "$prefijo/share/mime" "$tipos/"
avisos=$(XDG_DATA_DIRS=$tipos update-mime-database "$tipos/mime" 2>&1) && [ -z "$avisos" ] || falla "$avisos"
grep -qx "[0-9]*:$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$menu"):\*\.mtz" "$tipos/mime/globs2" || falla "sin *.mtz"
appstreamcli validate --no-net "$prefijo"/share/metainfo/*.metainfo.xml >/dev/null

# The installed command, with a stand-in editor that says where it started and on what, and no display
# (messages go to standard error). Each row runs on what the row above left: its change, the command
# with at most one argument (for "otro", as a user who cannot write in the home), its check.
orden=$prefijo/bin/grafolux editor=$prefijo/libexec/grafolux/grafolux plantilla=$prefijo/share/grafolux casa=$(mktemp -d)
printf '#!/bin/sh\necho "$(pwd)" "$@"\n' >"$editor" && chmod 755 "$casa"
trap 'chmod -R u+w "$casa"; rm -rf "$casa" "$casa".* "$tipos"' EXIT
trabajo=$casa/.local/share/grafolux args=()
[ "$(id -u)" -ne 0 ] && otro=() || otro=(setpriv --reuid=65534 --regid=65534 --clear-groups)  # as nobody
lanzar() { (cd "$casa" && "${como[@]}" env -u DISPLAY -u WAYLAND_DISPLAY HOME="$casa" XDG_DATA_HOME= "$@" "$orden" "${args[@]}"); }
while IFS='|' read -r caso cambio quien entorno argumentos salida error despues; do
  eval "$cambio"
  args=(${argumentos:+"$argumentos"})
  [ "$quien" = otro ] && como=("${otro[@]}") || como=()
  real=$(lanzar $(eval echo "$entorno") 2>"$casa.err") && codigo=0 || codigo=$?
  real="$codigo${real:+ $real}"
  [ "$real" = "$(eval echo "$salida")" ] && { [ -n "$error" ] && grep -q "$error" "$casa.err" || [ ! -s "$casa.err" ]; } &&
    eval "$despues" || falla "$caso: $real; $(cat "$casa.err")"
done <<'CASOS'
primer inicio|||||0 $trabajo||diff -r $plantilla $trabajo
XDG_DATA_HOME|||XDG_DATA_HOME=$casa/datos||0 $casa/datos/grafolux||:
un archivo, desde donde se escribe|||XDG_DATA_HOME=relativo|a b.mtz|0 $trabajo $casa/a b.mtz||:
fuentes del usuario|echo cambiada >$trabajo/tipografias/basica.mtz; rm $trabajo/tipografias/digitos.mtz $trabajo/ayuda/editor.html||||0 $trabajo||[ "$(cat $trabajo/tipografias/basica.mtz)" = cambiada ] && [ ! -e $trabajo/tipografias/digitos.mtz ] && [ -f $trabajo/ayuda/editor.html ]
ayuda que no se puede reponer|rm $trabajo/ayuda/Archivos/marca.txt; chmod -R a-w $casa|otro|||0 $trabajo||[ ! -e $trabajo/ayuda/Archivos/marca.txt ]
casa de solo lectura|chmod -R u+w $casa; rm -r $trabajo; chmod -R a-w $casa|otro|||0 $plantilla|para grabar|[ ! -e $trabajo ]
casa de solo lectura, un archivo||otro||/a.mtz|0 $plantilla /a.mtz||:
falta la plantilla|chmod -R u+w $casa; mv $plantilla/tipografias $casa.t||||1|Faltan los datos|:
falta el editor|mv $casa.t $plantilla/tipografias; chmod a-x $editor||||1|No se puede iniciar el editor|:
CASOS

# Many first starts at once: each starts in the user's folder, which ends with the template alone.
chmod a+x "$editor" && args=() como=()
for ronda in 1 2 3 4 5; do
  rm -rf "$trabajo" && for i in $(seq 32); do lanzar >"$casa.$i" 2>&1 & done
  wait
  [ "$(sort -u "$casa".[0-9]*)" = "$trabajo" ] && diff -r "$plantilla" "$trabajo" || falla "$(cat "$casa".[0-9]*)"
done
