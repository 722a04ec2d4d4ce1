#!/usr/bin/env bash
# The whole test suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer and with warnings as errors. Any report fails.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$RAIZ/scripts/comun.sh"
COMPILACION=$(aparte asan)
instalar_paquetes "${PRUEBAS[@]}"
# Unoptimised with line tables only: it builds fastest, and a report still
# names file and line.
compilar -DGRAFOLUX_SANITIZE=ON -DGRAFOLUX_WERROR=ON -DGRAFOLUX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$COMPILACION"
# The end-to-end suite drives the program through an X server and its own
# timeouts; it is run by the plain build and left out here.
ctest --output-on-failure -j"$(nproc)" -E '^e2e_'
