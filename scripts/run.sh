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
  # The map on, drawn with the keyless page, unless the file says otherwise.
  set_general() {
    grep -qi "^$1=" "$INI" && return
    if grep -qi '^\[GENERAL\]' "$INI"; then
      # Into the section that is there: only its first copy is ever read.
      awk -v line="$1=$2" 'BEGIN { done = 0 }
        { print }
        !done && tolower($0) ~ /^\[general\]/ { printf "%s\r\n", line; done = 1 }' "$INI" > "$INI.new"
      mv "$INI.new" "$INI"
    else
      printf '[GENERAL]\r\n%s=%s\r\n' "$1" "$2" >> "$INI"
    fi
  }
  set_general GpsView 1
  set_general SelectMap 5
  exec build/bin/ondavia
fi
# Without the viewer, show the samples through the command-line tool.
build/bin/ondavia-cli list "$SAMPLES"
for f in "$SAMPLES"*.TXT; do build/bin/ondavia-cli info "$f"; done
