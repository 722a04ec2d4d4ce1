#!/usr/bin/env bash
# The Debian package: made by CPack from the build the tests just passed on,
# installed into this machine with apt as a user would, and its mtz run on
# the starter font it ships. Removed again at the end, so that the next run
# installs its own package rather than finding one already there.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
COMPILACION=${GRAFOLUX_BUILD:-$PWD/build}
export DEBIAN_FRONTEND=noninteractive

quitar() { dpkg -s grafolux >/dev/null 2>&1 && apt-get remove -y -qq grafolux >/dev/null || true; }
quitar
trap quitar EXIT

rm -f "$COMPILACION"/grafolux_*.deb
(cd "$COMPILACION" && timeout 600 cpack -G DEB >cpack.log 2>&1) || { cat "$COMPILACION/cpack.log"; exit 1; }
paquete=$(ls "$COMPILACION"/grafolux_*.deb)
dpkg-deb -f "$paquete" Package Version Depends
timeout 600 apt-get install -y -qq --no-install-recommends "$paquete" >/dev/null

command -v mtz grafolux grafolux-lanzador
mtz --version
mtz check /usr/share/grafolux/tipografias/basica.mtz
test -f /usr/share/applications/grafolux.desktop
test -f /usr/share/icons/hicolor/32x32/apps/grafolux.png
