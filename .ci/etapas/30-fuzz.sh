#!/usr/bin/env bash
# A clang build of every fuzz target fuzz/CMakeLists.txt defines (with
# AddressSanitizer and UndefinedBehaviorSanitizer), and a short pass of each
# from its committed seeds in fuzz/corpus/<target>/. The seeds stay as
# committed: new inputs go to a scratch folder. GRAFOLUX_FUZZ_SEGUNDOS sets
# the time of each pass (20 s by default).
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$RAIZ/scripts/comun.sh"
COMPILACION=$(aparte fuzz)
instalar_paquetes fiabilidad
# Configured every time, so that a target added since is listed.
CC=clang CXX=clang++ cmake -S "$RAIZ" -B "$COMPILACION" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAFOLUX_FUZZ=ON \
  -DGRAFOLUX_SANITIZE=ON -DGRAFOLUX_WERROR=ON -DGRAFOLUX_TESTS=OFF -DGRAFOLUX_BENCH=OFF >/dev/null
mapfile -t objetivos <"$COMPILACION/fuzz/objetivos.txt"
[ "${#objetivos[@]}" -gt 0 ] || { echo "fuzz/CMakeLists.txt defines no target"; exit 1; }
# Only the fuzz targets and what they link are built: the rest of the
# program is built and checked by the other stages.
cmake --build "$COMPILACION" -j"$(nproc)" --target "${objetivos[@]}" >"$COMPILACION/compilacion.log" 2>&1 ||
  { cat "$COMPILACION/compilacion.log"; exit 1; }
nuevos=$(mktemp -d)
trap 'rm -rf "$nuevos"' EXIT
for objetivo in "${objetivos[@]}"; do
  semillas=$RAIZ/fuzz/corpus/$objetivo
  [ -d "$semillas" ] || { echo "$objetivo: no seeds in fuzz/corpus/$objetivo/"; exit 1; }
  mkdir -p "$nuevos/$objetivo"
  registro=$COMPILACION/$objetivo.log
  # A finding leaves the input that caused it in the build folder.
  if ! "$COMPILACION/fuzz/$objetivo" -max_total_time="${GRAFOLUX_FUZZ_SEGUNDOS:-20}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$COMPILACION/$objetivo-" "$nuevos/$objetivo" "$semillas" >"$registro" 2>&1; then
    cat "$registro"
    exit 1
  fi
  echo "$objetivo: $(grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$registro" | tr '\n' ' ')"
done
