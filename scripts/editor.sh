#!/usr/bin/env bash
# Installs what building and running the editor need and nothing more (the
# test tools are left to pruebas.sh), builds the editor, prepares the working
# directory trabajo/ (font files and help, never overwriting the user's
# fonts) and starts the editor there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
instalar_paquetes
compilar -DGRAFOLUX_TESTS=OFF -DGRAFOLUX_BENCH=OFF -- grafolux
TRABAJO=${GRAFOLUX_TRABAJO:-$RAIZ/trabajo}
mkdir -p "$TRABAJO"
cp -rn "$RAIZ"/datos/tipografias "$RAIZ"/datos/ayuda "$TRABAJO"/
cd "$TRABAJO"
exec "$COMPILACION/app/grafolux"
