# Shared by the run and test commands: install what is missing, then build.
# Both are quiet when there is nothing to do.

RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
COMPILACION=${GRAFOLUX_BUILD:-$RAIZ/build}

instalar_paquetes() {
  local faltan=() p
  while read -r p; do
    [ -z "$p" ] || [ "${p#\#}" != "$p" ] && continue
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
  done < <(cat "$RAIZ"/scripts/paquetes*.txt)
  [ ${#faltan[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Instalando: ${faltan[*]}"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
}

compilar() {
  mkdir -p "$COMPILACION"
  local registro="$COMPILACION/compilacion.log"
  if [ ! -f "$COMPILACION/CMakeCache.txt" ]; then
    cmake -S "$RAIZ" -B "$COMPILACION" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$registro" 2>&1 ||
      { cat "$registro"; return 1; }
  fi
  cmake --build "$COMPILACION" -j"$(nproc)" >"$registro" 2>&1 || { cat "$registro"; return 1; }
}
