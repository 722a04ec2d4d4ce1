#!/usr/bin/env bash
# Installs what the tests need besides the editor, builds, and runs every
# test. The benchmarks are built by their own CI stage.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
instalar_paquetes "${PRUEBAS[@]}"
compilar -DGRAFOLUX_BENCH=OFF
cd "$COMPILACION"
ctest --output-on-failure -j"$(nproc)"
