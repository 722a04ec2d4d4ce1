#!/usr/bin/env bash
# A clang build of the fuzz target (with AddressSanitizer and
# UndefinedBehaviorSanitizer) and a short fuzz pass from the committed seeds.
# The seeds stay as committed: new inputs go to a scratch folder.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$RAIZ/scripts/comun.sh"
GRAFOLUX_BUILD=$COMPILACION-fuzz
instalar_paquetes fiabilidad
# Only the fuzz target and what it links are built: the rest of the program
# is built and checked by the other stages.
CC=clang CXX=clang++ cmake -S "$RAIZ" -B "$GRAFOLUX_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAFOLUX_FUZZ=ON \
  -DGRAFOLUX_SANITIZE=ON -DGRAFOLUX_WERROR=ON -DGRAFOLUX_TESTS=OFF -DGRAFOLUX_BENCH=OFF >/dev/null
cmake --build "$GRAFOLUX_BUILD" -j"$(nproc)" --target fuzz_fuente >"$GRAFOLUX_BUILD/compilacion.log" 2>&1 ||
  { cat "$GRAFOLUX_BUILD/compilacion.log"; exit 1; }
nuevos=$(mktemp -d)
trap 'rm -rf "$nuevos"' EXIT
registro=$GRAFOLUX_BUILD/fuzz.log
# A finding leaves the input that caused it in the build folder.
if ! "$GRAFOLUX_BUILD/fuzz/fuzz_fuente" -max_total_time="${GRAFOLUX_FUZZ_SEGUNDOS:-60}" -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$GRAFOLUX_BUILD/" "$nuevos" "$RAIZ/fuzz/corpus/fuente" \
  >"$registro" 2>&1; then
  cat "$registro"
  exit 1
fi
grep -E '^Done|^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$registro"
