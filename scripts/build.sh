#!/usr/bin/env bash
# Configures and builds the release tree in build/ (binaries in build/bin/).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" > /dev/null
ninja -C build
