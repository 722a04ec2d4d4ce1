#!/usr/bin/env bash
# clang-tidy over the program's own code with the checks of .clang-tidy;
# any finding fails.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$RAIZ/scripts/comun.sh"
instalar_paquetes fiabilidad
COMPILACION+=-tidy
# Only the compile commands are needed, and the sources moc generates.
CC=clang CXX=clang++ compilar -DGRAFOLUX_TESTS=OFF -DGRAFOLUX_BENCH=OFF -- grafolux_app_autogen fontfile_autogen glyph_autogen
cd "$RAIZ"
mapfile -t fuentes < <(git ls-files 'glyph/*.cpp' 'fontfile/*.cpp' 'app/*.cpp' 'resources/*.cpp' ':!resources/dibujar/*')
printf '%s\n' "${fuentes[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p "$COMPILACION" --quiet --warnings-as-errors='*' \
  2> >(grep -v -E '^[0-9]+ warnings? generated|^Suppressed|^Use -header-filter' >&2)
echo "clang-tidy: ${#fuentes[@]} archivos sin hallazgos"
