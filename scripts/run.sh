#!/usr/bin/env bash
# Sets up, builds and starts the viewer on the bundled sample recordings.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
SAMPLES="$PWD/build/samples/"
if [ -x build/bin/ondavia ]; then
  # The first start lists the samples: point the settings file beside the
  # program at them unless the user has chosen a folder already.
  INI=build/bin/ONDAVIA.INI
  grep -qi '^DataFilePath=' "$INI" 2>/dev/null || printf '[PATHNAME]\r\nDataFilePath=%s\r\n' "$SAMPLES" >> "$INI"
  exec build/bin/ondavia
fi
# Without the viewer, show the samples through the command-line tool.
build/bin/ondavia-cli list "$SAMPLES"
for f in "$SAMPLES"*.TXT; do build/bin/ondavia-cli info "$f"; done
