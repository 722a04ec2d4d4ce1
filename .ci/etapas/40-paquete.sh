#!/usr/bin/env bash
# The Debian package: made by CPack from the build the tests just passed on,
# made again from a second build in another folder and found the same bytes,
# checked by lintian, installed into this machine with apt as a user would,
# and its mtz run on the starter font it ships. Removed again at the end, so
# that the next run installs its own package rather than finding one there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/comun.sh"
instalar_paquetes paquete
[ -f "$COMPILACION/CMakeCache.txt" ] || { echo "Falta la compilación: bash scripts/pruebas.sh" >&2; exit 1; }

quitar() { dpkg -s grafolux >/dev/null 2>&1 && apt_get remove -y -qq grafolux >/dev/null || true; }
quitar
trap quitar EXIT

rm -f "$COMPILACION"/grafolux_*.deb
(cd "$COMPILACION" && timeout 600 cpack -G DEB >cpack.log 2>&1) || { cat "$COMPILACION/cpack.log"; exit 1; }
paquete=$(ls "$COMPILACION"/grafolux_*.deb)
dpkg-deb -f "$paquete" Package Version Depends

# Reproducible: a build of the same commit in a folder of another name and
# length, without the tests, packs to the same bytes.
otra=$(aparte paquete)
COMPILACION=$otra compilar -DGRAFOLUX_TESTS=OFF -DGRAFOLUX_BENCH=OFF
rm -f "$otra"/grafolux_*.deb
(cd "$otra" && timeout 600 cpack -G DEB >cpack.log 2>&1) || { cat "$otra/cpack.log"; exit 1; }
cmp "$paquete" "$otra/$(basename "$paquete")" || { echo "Dos compilaciones dan paquetes distintos" >&2; exit 1; }
echo "reproducible: $(sha256sum <"$paquete" | cut -c1-16) en $(basename "$COMPILACION")/ y $(basename "$otra")/"

# Every tag counts, down to the pedantic ones; a tag that is meant is
# overridden in packaging/lintian-overrides, with its reason.
lintian --fail-on error,warning,info,pedantic --pedantic --display-info "$paquete"
echo "lintian: sin etiquetas"

# A font the editor's list installs for the window is loaded, not linked, so
# only this check keeps the package depending on it.
for letra in $(grep -E '^fonts-' "$RAIZ/scripts/paquetes.txt"); do
  dpkg-deb -f "$paquete" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx -- "$letra" ||
    { echo "El paquete no depende de $letra, la letra de scripts/paquetes.txt" >&2; exit 1; }
done

apt_get install -y -qq --no-install-recommends "$paquete" >/dev/null
command -v mtz grafolux grafolux-lanzador
[ -x /usr/libexec/grafolux/grafolux ]
# The package has no maintainer scripts: the triggers of shared-mime-info and
# desktop-file-utils take in the file type and the menu entry that opens it.
grep -q ':application/x-grafolux-mtz:\*\.mtz$' /usr/share/mime/globs2
grep -q '^application/x-grafolux-mtz=.*grafolux\.desktop' /usr/share/applications/mimeinfo.cache
mtz --version
mtz check /usr/share/grafolux/tipografias/basica.mtz
