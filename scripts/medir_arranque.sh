#!/usr/bin/env bash
# Start-up, measured from outside: the time from starting a program to its
# window being mapped on an X server (a private Xvfb), and the program's
# peak resident memory, as the median and spread of several runs. The
# editor is measured beside a bare Qt window with the same controls
# (bench/ventana_desnuda.cpp), which sets the floor.
#
#   bash scripts/medir_arranque.sh [-n RUNS] [-a FILES] [-l LOGO] [-- PROGRAM [ARGS...]]
#
#   -n RUNS   runs of each program, 7 at least (default 11)
#   -a FILES  put FILES further empty font files into the working folder
#   -l LOGO   show the JPEG LOGO instead of the shipped logo
#   PROGRAM   a further program to measure the same way, started in the same
#             working folder (another editor, say)
#
# Each program runs once untimed first, so that every timed run finds its
# files in the page cache; then the programs take turns, run by run, so
# that a change in the machine's load falls on all of them alike.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"

RONDAS=11
ARCHIVOS=0
LOGO=""
while [ $# -gt 0 ]; do
  case "$1" in
    -n) RONDAS=$2; shift 2 ;;
    -a) ARCHIVOS=$2; shift 2 ;;
    -l) LOGO=$(realpath "$2"); shift 2 ;;
    --) shift; break ;;
    *) echo "uso: $0 [-n RONDAS] [-a ARCHIVOS] [-l LOGO] [-- PROGRAMA [ARGUMENTOS...]]" >&2; exit 2 ;;
  esac
done
[ "$RONDAS" -ge 7 ] || { echo "Hacen falta 7 rondas por lo menos." >&2; exit 2; }

instalar_paquetes pruebas rendimiento
compilar -- grafolux ventana_desnuda esperar_ventana

ESPERAR="$COMPILACION/bench/esperar_ventana"
[ -x "$ESPERAR" ] || { echo "Falta $ESPERAR (¿libx11-dev?)." >&2; exit 1; }

TEMPORAL=$(mktemp -d)
XVFB_PID=""
terminar() {
  [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
  [ -z "$XVFB_PID" ] || wait "$XVFB_PID" 2>/dev/null || true
  rm -rf "$TEMPORAL"
}
trap terminar EXIT

# A private X server; it reports the display it took on a descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$TEMPORAL/pantalla" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$TEMPORAL/pantalla" ] && break; sleep 0.05; done
[ -s "$TEMPORAL/pantalla" ] || { echo "Xvfb no arrancó." >&2; exit 1; }
export DISPLAY=":$(cat "$TEMPORAL/pantalla")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$TEMPORAL/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The working folder the editor needs, as scripts/editor.sh prepares it.
TRABAJO="$TEMPORAL/trabajo"
mkdir -p "$TRABAJO"
cp -r "$RAIZ"/datos/. "$TRABAJO"/
[ -z "$LOGO" ] || cp "$LOGO" "$TRABAJO/ayuda/Archivos/logo.jpg"
for ((i = 0; i < ARCHIVOS; i++)); do : >"$TRABAJO/tipografias/fuente$i.mtz"; done

NOMBRES=("grafolux" "ventana Qt desnuda")
PROGRAMAS=("$COMPILACION/app/grafolux" "$COMPILACION/bench/ventana_desnuda")
if [ $# -gt 0 ]; then
  NOMBRES+=("$(basename "$1")")
  PROGRAMAS+=("$*")
fi

medir() {  # program index -> "ms rss_kb" on stdout
  local linea
  # shellcheck disable=SC2086  # a further program comes as one line of words
  linea=$(cd "$TRABAJO" && "$ESPERAR" --asentar 300 -- ${PROGRAMAS[$1]} 2>"$TEMPORAL/errores") ||
    { cat "$TEMPORAL/errores" >&2; return 1; }
  linea=${linea#ms=}
  echo "${linea/ rss_kb=/ }"
}

for p in "${!PROGRAMAS[@]}"; do medir "$p" >/dev/null; done
for ((r = 0; r < RONDAS; r++)); do
  for p in "${!PROGRAMAS[@]}"; do medir "$p" >>"$TEMPORAL/medidas.$p"; done
done

# The median, and the smallest and largest value, of one column.
resumen() {  # file column divisor
  sort -g -k"$2","$2" "$1" | awk -v c="$2" -v d="$3" '
    { v[NR] = $c / d }
    END {
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%.1f (%.1f–%.1f)", m, v[1], v[NR]
    }'
}

echo "Máquina: $(nproc) núcleos, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//');" \
  "Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?'); $RONDAS rondas; $(ls "$TRABAJO/tipografias" | wc -l) archivos en tipografias/"
echo "| programa | ventana mapeada, ms: mediana (mín–máx) | memoria residente máxima, MB: mediana (mín–máx) |"
echo "|---|---|---|"
for p in "${!PROGRAMAS[@]}"; do
  echo "| ${NOMBRES[$p]} | $(resumen "$TEMPORAL/medidas.$p" 1 1) | $(resumen "$TEMPORAL/medidas.$p" 2 1024) |"
done
