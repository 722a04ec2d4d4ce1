# Shared by the run and test commands and the CI stages: install what is
# missing, then build. Quiet when there is nothing to do.

RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The build folder. The CI stages that build otherwise put their folders
# beside it, named after it (build-asan/, build-fuzz/, build-tidy/,
# build-paquete/), through aparte.
COMPILACION=${GRAFOLUX_BUILD:-$RAIZ/build}
aparte() { echo "$COMPILACION-$1"; }

# The package lists the test suite needs besides the editor's.
PRUEBAS=(pruebas mtz e2e)

# apt-get as root, through sudo otherwise, waiting for another apt to let
# go of its lock rather than failing at once.
apt_get() {
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"
}

# instalar_paquetes [NAME...]: scripts/paquetes.txt, what building and
# running the editor needs, and for each NAME scripts/paquetes-NAME.txt,
# what a test or a CI stage needs besides.
instalar_paquetes() {
  local listas=("$RAIZ/scripts/paquetes.txt") faltan=() nombre lista p
  for nombre in "$@"; do listas+=("$RAIZ/scripts/paquetes-$nombre.txt"); done
  for lista in "${listas[@]}"; do
    [ -f "$lista" ] || { echo "No existe la lista de paquetes $lista" >&2; return 1; }
    while read -r p; do
      [ -z "$p" ] || [ "${p#\#}" != "$p" ] && continue
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
    done <"$lista"
  done
  [ ${#faltan[@]} -eq 0 ] && return 0
  mapfile -t faltan < <(printf '%s\n' "${faltan[@]}" | sort -u)
  echo "Instalando: ${faltan[*]}"
  apt_get update -qq >/dev/null
  apt_get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
}

# compilar [-DOPTION=VALUE...] [-- TARGET...]: configures COMPILACION and
# builds the targets given, or everything. Each configure starts from the
# project's defaults and applies the options given, so an option that one
# command set does not stay for the next.
compilar() {
  local opciones=() objetivos=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do opciones+=("$1"); shift; done
  [ $# -eq 0 ] || { shift; objetivos=(--target "$@"); }
  mkdir -p "$COMPILACION"
  local registro="$COMPILACION/compilacion.log"
  { cmake -S "$RAIZ" -B "$COMPILACION" -U 'GRAFOLUX_*' -DCMAKE_BUILD_TYPE=RelWithDebInfo "${opciones[@]}" &&
    cmake --build "$COMPILACION" -j"$(nproc)" "${objetivos[@]}"; } >"$registro" 2>&1 || { cat "$registro"; return 1; }
}
