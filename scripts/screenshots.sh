#!/usr/bin/env bash
# Pictures of the main window on the sample recordings: full span, zoomed
# with the pointer hint, and the wide record grid; the detailed graph window;
# the map. Runs headless.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT="${1:-build/screenshots}"
./scripts/setup.sh
./scripts/build.sh
QT_QPA_PLATFORM=offscreen build/bin/ondavia-screenshot build/samples "$OUT"
