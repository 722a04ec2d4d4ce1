#!/usr/bin/env bash
# Mutation pass: each line of the list is one small fault (name, file, text, replacement,
# tab-separated; ⏎ stands for a line break), put into the tree alone; then the build and
# the whole test suite run against it, and the fault is reported killed (MUERE, with the
# suites that caught it), alive (VIVE), or not applicable when its text is not found
# exactly once. TREE must be a configured, built copy of the project (build/ inside),
# never the tree one works in: each fault is written into its source for a while.
# Usage: bash scripts/mutar.sh TREE LIST RESULT
set -uo pipefail
arbol=$1 lista=$2 salida=$3
cd "$arbol"
temporal=$(mktemp -d)
trap 'rm -rf "$temporal"' EXIT
# The quick suites first: most faults die there in a second.
RAPIDAS='^prueba_(glyph|archivos|equivalencias|ventana)$'
: >"$salida"
while IFS=$'\t' read -r id archivo viejo nuevo; do
  [ -z "$id" ] || [ "${id#\#}" != "$id" ] && continue
  export VIEJO=${viejo//⏎/$'\n'} NUEVO=${nuevo//⏎/$'\n'}
  n=$(perl -0ne 'print scalar(() = /\Q$ENV{VIEJO}\E/g)' "$archivo" 2>/dev/null || echo 0)
  if [ "$n" != 1 ]; then echo "$id $archivo NO-APLICA($n)" | tee -a "$salida"; continue; fi
  cp "$archivo" "$temporal"/orig
  perl -0pi -e 's/\Q$ENV{VIEJO}\E/$ENV{NUEVO}/' "$archivo"
  inicio=$(date +%s)
  if ! cmake --build build -j2 >"$temporal"/build 2>&1; then
    r=NO-COMPILA
  elif (cd build && ctest -R "$RAPIDAS" >"$temporal"/ctest 2>&1 &&
        CI=1 timeout 900 ctest -j2 -E "$RAPIDAS" >>"$temporal"/ctest 2>&1); then
    r=VIVE
  else
    r="MUERE $(grep -E '^\s+[0-9]+ - ' "$temporal"/ctest | awk '{print $3}' | tr '\n' ' ')"
  fi
  cp "$temporal"/orig "$archivo"
  echo "$id $archivo $r ($(( $(date +%s) - inicio )) s)" | tee -a "$salida"
done <"$lista"
cmake --build build -j2 >/dev/null 2>&1
