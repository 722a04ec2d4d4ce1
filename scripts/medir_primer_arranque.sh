#!/usr/bin/env bash
# A newcomer's first start, measured: on a Debian 12 that has never seen the
# project (a fresh minimal chroot made by debootstrap), the committed tree
# is copied in and one command runs there as root: its time, split into
# installing, building and what follows, and what apt downloaded.
#
#   sudo bash scripts/medir_primer_arranque.sh editor|pruebas [BASE]
#
#   editor   scripts/editor.sh, up to the editor running (on $DISPLAY when
#            set, which the chroot shares; offscreen otherwise), then ended
#   pruebas  scripts/pruebas.sh, every test
#   BASE     a chroot made earlier by `debootstrap --variant=minbase
#            bookworm BASE`, copied rather than made again
#
# Needs root, debootstrap and Debian's mirror. The chroot is left in
# /var/tmp for a look and removed at the next run.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
orden=${1:?uso: medir_primer_arranque.sh editor|pruebas [BASE]}
raiz=/var/tmp/grafolux-primer-arranque-$orden
espejo=http://deb.debian.org/debian

montadas=()
desmontar() { for ((i = ${#montadas[@]} - 1; i >= 0; i--)); do umount -l "${montadas[i]}"; done; }
trap desmontar EXIT
rm -rf "$raiz"
if [ -n "${2:-}" ]; then cp -a "$2" "$raiz"; else debootstrap --variant=minbase bookworm "$raiz" "$espejo" >/dev/null; fi
# As a fresh system or container has it: no package lists, no packages kept.
rm -rf "$raiz"/var/lib/apt/lists/* "$raiz"/var/cache/apt/archives/*.deb
# The point releases and security updates, as an installed system has them.
cat >"$raiz/etc/apt/sources.list" <<FIN
deb $espejo bookworm main
deb $espejo bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
FIN
for d in proc sys dev dev/pts tmp/.X11-unix; do
  mkdir -p "$raiz/$d"
  mount --bind "/$d" "$raiz/$d"
  montadas+=("$raiz/$d")
done
mkdir -p "$raiz/root/grafolux"
git -C "$RAIZ" archive HEAD | tar -x -C "$raiz/root/grafolux"

antes=$(chroot "$raiz" dpkg-query -W -f='.\n' | wc -l)
plataforma=offscreen
[ -z "${DISPLAY:-}" ] || plataforma=xcb
chroot "$raiz" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  DISPLAY="${DISPLAY:-}" QT_QPA_PLATFORM=$plataforma ORDEN="$orden" bash -c '
  cd /root/grafolux
  inicio=$EPOCHREALTIME
  # Each traced line carries its time, so the trace splits the run in
  # phases. (bash as root takes no PS4 from the environment.)
  bash -c "PS4=\"+ \\\${EPOCHREALTIME} \"; set -x; source scripts/$ORDEN.sh" >/root/salida.log 2>/root/traza.log &
  proceso=$!
  if [ "$ORDEN" = editor ]; then
    # The script ends by becoming the editor: give it 5 s, then end it.
    until grep -qE "^\\++ [0-9.]+ exec " /root/traza.log; do kill -0 $proceso 2>/dev/null || break; sleep 0.2; done
    sleep 5
    kill -0 $proceso 2>/dev/null && echo "el editor sigue abierto a los 5 s" && kill $proceso
  fi
  wait $proceso && estado=0 || estado=$?
  [ "$ORDEN" != editor ] || [ "$estado" -ne 143 ] || estado=0
  fase() { grep -m1 -E "^\\++ [0-9.]+ $1" /root/traza.log | cut -d" " -f2; }
  awk -v i="$inicio" -v c="$(fase compilar)" -v d="$(fase "(exec|ctest)")" -v e="$estado" \
    "BEGIN { printf \"estado %d; instalar %.0f s, compilar %.0f s\n\", e, c - i, d - c }"
  [ "$ORDEN" = editor ] || awk -v d="$(fase ctest)" -v f="$EPOCHREALTIME" "BEGIN { printf \"pruebas %.0f s\n\", f - d }"
  # The processor time of all of it, which a busy machine stretches less.
  times >/root/tiempos  # not in a pipe, whose subshell would count only itself
  echo "tiempo de procesador (usuario, sistema): $(tail -1 /root/tiempos)"
'
echo "paquetes instalados: $(($(chroot "$raiz" dpkg-query -W -f='.\n' | wc -l) - antes))"
echo "descargado: $(du -cb "$raiz"/var/cache/apt/archives/*.deb | tail -1 | awk '{ printf "%.0f", $1 / 1e6 }') MB de paquetes, más las listas de apt"
echo "carga: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) núcleos"
