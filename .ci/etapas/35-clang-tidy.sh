#!/usr/bin/env bash
# clang-tidy over every folder of the program's own code with the checks of
# .clang-tidy, and clang-format over every C++ file of the repository; any
# finding fails.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$RAIZ/scripts/comun.sh"
instalar_paquetes fiabilidad
cd "$RAIZ"

git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
echo "clang-format: $(git ls-files '*.cpp' '*.h' | wc -l) archivos con el formato de .clang-format"

COMPILACION=$(aparte tidy)
# Only the compile commands are needed, and the sources moc generates. The
# drawing program is a project of its own, configured beside them.
CC=clang CXX=clang++ compilar -DGRAFOLUX_TESTS=OFF -DGRAFOLUX_BENCH=OFF -- grafolux_app_autogen fontfile_autogen \
  glyph_autogen mtz_nucleo_autogen imagenes
CC=clang CXX=clang++ cmake -S resources/dibujar -B "$COMPILACION/dibujar" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
revisar() {  # compile-commands folder, files...
  local base=$1
  shift
  printf '%s\n' "$@" | xargs -P"$(nproc)" -n4 clang-tidy -p "$base" --quiet --warnings-as-errors='*' \
    2> >(grep -v -E '^[0-9]+ warnings? generated|^Suppressed|^Use -header-filter' >&2)
}
mapfile -t fuentes < <(git ls-files 'glyph/*.cpp' 'fontfile/*.cpp' 'app/*.cpp' 'mtz/*.cpp' 'resources/*.cpp' \
  ':!resources/dibujar/*')
revisar "$COMPILACION" "${fuentes[@]}"
revisar "$COMPILACION/dibujar" resources/dibujar/dibujar.cpp
echo "clang-tidy: $((${#fuentes[@]} + 1)) archivos sin hallazgos"
