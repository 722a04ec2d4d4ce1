#!/usr/bin/env bash
# Mutation pass: each line of the list is one small fault (name, file, text, replacement,
# tab-separated; ⏎ stands for a line break), put into the tree alone; then the build and
# the whole test suite run against it, and the fault is reported killed (MUERE, with the
# suites that caught it), alive (VIVE), or not applicable when its text is not found
# exactly once. TREE must be a clean git checkout other than the one this script lies in,
# configured and built in TREE/build: each fault is written into its source for a while,
# and the source is put back however the pass ends (Ctrl-C included).
# Usage: bash scripts/mutar.sh TREE LIST RESULT
set -euo pipefail
[ $# -eq 3 ] || { echo "uso: bash scripts/mutar.sh ARBOL LISTA RESULTADO" >&2; exit 2; }
lista=$(realpath -e -- "$2") salida=$(realpath -m -- "$3")
arbol=$(cd -- "$1" 2>/dev/null && pwd -P) || { echo "mutar: no existe el árbol $1" >&2; exit 2; }
propio=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$arbol"
[ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$arbol" ] ||
  { echo "mutar: $arbol no es la raíz de una copia de git" >&2; exit 2; }
[ "$arbol" != "$propio" ] || { echo "mutar: el árbol no puede ser el de este guion" >&2; exit 2; }
git diff --quiet HEAD -- || { echo "mutar: $arbol tiene cambios sin confirmar" >&2; exit 2; }
[ -f build/CMakeCache.txt ] || { echo "mutar: falta $arbol/build configurado" >&2; exit 2; }

temporal=$(mktemp -d)
mutado=""
restaurar() {
  [ -z "$mutado" ] || cp "$temporal/orig" "$mutado"
  mutado=""
  rm -rf "$temporal"
}
trap restaurar EXIT
trap 'exit 130' INT TERM

# The quick suites first: most faults die there in a second.
RAPIDAS='^prueba_(glyph|archivos|equivalencias|ventana)$'
: >"$salida"
while IFS=$'\t' read -r id archivo viejo nuevo; do
  [ -z "$id" ] || [ "${id#\#}" != "$id" ] && continue
  export VIEJO=${viejo//⏎/$'\n'} NUEVO=${nuevo//⏎/$'\n'}
  n=$(perl -0ne 'print scalar(() = /\Q$ENV{VIEJO}\E/g)' "$archivo" 2>/dev/null || echo 0)
  if [ "$n" != 1 ]; then echo "$id $archivo NO-APLICA($n)" | tee -a "$salida"; continue; fi
  cp "$archivo" "$temporal/orig"
  mutado=$archivo
  perl -0pi -e 's/\Q$ENV{VIEJO}\E/$ENV{NUEVO}/' "$archivo"
  inicio=$(date +%s)
  if ! cmake --build build -j2 >"$temporal/build" 2>&1; then
    r=NO-COMPILA
  elif (cd build && ctest -R "$RAPIDAS" >"$temporal/ctest" 2>&1 &&
    CI=1 timeout 900 ctest -j2 -E "$RAPIDAS" >>"$temporal/ctest" 2>&1); then
    r=VIVE
  else
    r="MUERE $(grep -E '^\s+[0-9]+ - ' "$temporal/ctest" | awk '{print $3}' | tr '\n' ' ')"
  fi
  cp "$temporal/orig" "$archivo"
  mutado=""
  echo "$id $archivo $r ($(($(date +%s) - inicio)) s)" | tee -a "$salida"
done <"$lista"
cmake --build build -j2 >/dev/null 2>&1
