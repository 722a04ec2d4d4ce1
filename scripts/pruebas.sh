#!/usr/bin/env bash
# Installs what the tests need besides the editor, builds, and runs every
# test. The benchmarks are built by their own CI stage. Each test's outcome
# is also left in the build folder as JUnit XML (ctest-resultados.xml).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
instalar_paquetes "${PRUEBAS[@]}"
rm -f "$COMPILACION/ctest-resultados.xml"
compilar -DGRAFOLUX_BENCH=OFF
cd "$COMPILACION"
ctest --output-on-failure -j"$(nproc)" --output-junit "$COMPILACION/ctest-resultados.xml"
