#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
instalar_paquetes
compilar
cd "$COMPILACION"
ctest --output-on-failure -j"$(nproc)"
