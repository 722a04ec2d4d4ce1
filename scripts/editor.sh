#!/usr/bin/env bash
# Installs what is missing, builds, prepares the working directory trabajo/
# (font files and help, never overwriting the user's fonts) and starts the
# editor there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
instalar_paquetes
compilar
TRABAJO=${GRAFOLUX_TRABAJO:-$RAIZ/trabajo}
mkdir -p "$TRABAJO"
cp -rn "$RAIZ"/datos/tipografias "$RAIZ"/datos/ayuda "$TRABAJO"/
cd "$TRABAJO"
exec "$COMPILACION/app/grafolux"
