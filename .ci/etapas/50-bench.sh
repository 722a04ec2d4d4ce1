#!/usr/bin/env bash
# The benchmarks and the start-up measurement, run briefly so that they keep
# building and running; their figures are not judged here.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/comun.sh"
instalar_paquetes pruebas rendimiento
compilar -- grafolux_bench
"$COMPILACION/bench/grafolux_bench" --benchmark_min_time=0.01
bash "$RAIZ/scripts/medir_arranque.sh" -n 7
