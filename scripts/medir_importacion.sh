#!/usr/bin/env bash
# Typeface import against otf2bdf: each face imported by mtz at the size it
# chooses, and the same face at that size converted by otf2bdf and imported
# as BDF (placed by the same rule). For each: the dots cut (from the report)
# and the number of different drawings among the 121 characters.
#
#   bash scripts/medir_importacion.sh [FACE...]   (default: the DejaVu and Liberation faces)
#
# Needs a build (mtz) and Debian's otf2bdf.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
instalar_paquetes mtz rendimiento
compilar -- mtz
dv=/usr/share/fonts/truetype/dejavu lib=/usr/share/fonts/truetype/liberation2
[ $# -gt 0 ] || set -- "$dv"/DejaVu{Sans,Serif,SansMono,SansCondensed}.ttf "$lib"/Liberation{Sans,Serif,Mono}-Regular.ttf
carpeta=$(mktemp -d) && trap 'rm -rf "$carpeta"' EXIT
# cuenta REPORT FONT: the dots the report says were cut, and the font's different drawings.
cuenta() {
  python3 - "$@" <<'PY'
import re, sys
cortados = sum(int(n) for n in re.findall(r"(\d+) (?:arriba|abajo|a la derecha)", open(sys.argv[1]).read()))
datos = open(sys.argv[2], "rb").read()
print(cortados, len({datos[i + 3:i + 23] for i in range(0, len(datos), 24)}), end="")
PY
}
printf '%-32s %6s %18s %18s\n' cara píxeles "mtz: cortados, dib." "otf2bdf: cortados, dib."
for cara; do
  "$COMPILACION/mtz/mtz" import "$cara" -o "$carpeta/m.mtz" 2>"$carpeta/m.txt"
  tamano=$(grep -oP 'a \K\d+(?= píxeles)' "$carpeta/m.txt" | head -1)
  otf2bdf -r 72 -p "$tamano" "$cara" -o "$carpeta/r.bdf" || true  # its status is not 0 even when it converts
  "$COMPILACION/mtz/mtz" import "$carpeta/r.bdf" -o "$carpeta/r.mtz" 2>"$carpeta/r.txt"
  printf '%-32s %6s %18s %18s\n' "$(basename "$cara")" "$tamano" "$(cuenta "$carpeta/m.txt" "$carpeta/m.mtz")" \
    "$(cuenta "$carpeta/r.txt" "$carpeta/r.mtz")"
done
