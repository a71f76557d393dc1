#!/usr/bin/env bash
# Runs the benchmarks on an optimised build against the private MariaDB.
#   bench/ejecuta.sh [tope|anual|porcentaje|factura|impresion ...]
# (anual, a year of a busy store, loads in under a minute and runs in the default run)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target bancos >/dev/null
scripts/mariadb start
eval "$(scripts/mariadb env)"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$raiz/build-bench/runtime}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
for banco in "${@:-tope anual porcentaje factura impresion}"; do
    for b in $banco; do
        build-bench/bancos "$b"
    done
done
