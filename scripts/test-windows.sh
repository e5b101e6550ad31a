#!/usr/bin/env bash
# The Windows build under Wine: cross-builds what it needs (scripts/build-windows.sh),
# runs the core tests, and compares ondavia-cli.exe with the Linux ondavia-cli
# byte for byte (output, errors and exit code) for list, info, rows, table
# and every check on the samples and on a generated full day. The Linux tree
# is build/ (the release tree) unless LINUX_BUILD names another.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
LINUX=${LINUX_BUILD:-$ROOT/build}
OUT=$ROOT/build-win

echo "== windows build"
./scripts/build-windows.sh ondavia-cli ondavia_core_tests
cmake --build "$LINUX" --target ondavia-cli ondavia-dayfile samples > /dev/null

export WINEPREFIX=$OUT/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

echo "== core tests under wine"
(cd "$OUT" && timeout 900 wine bin/ondavia_core_tests.exe --gtest_brief=1)

echo "== ondavia-cli.exe against ondavia-cli"
WORK=$OUT/compare
rm -rf "$WORK" && mkdir -p "$WORK/in" "$WORK/linux" "$WORK/windows"
cp "$LINUX"/samples/*.TXT "$WORK/in/"
"$LINUX/bin/ondavia-dayfile" "$WORK/in"
cd "$WORK"
# Every run gets the same arguments, with paths relative to the work folder,
# so that names echoed in messages match too.
runs=("list in")
for f in in/*.TXT; do
  runs+=("info $f" "rows $f" "table $f")
  for n in 1 2 3 4 5 6 7 8 9 10; do runs+=("check $f --search $n"); done
done
i=0
for run in "${runs[@]}"; do
  i=$((i + 1))
  # shellcheck disable=SC2086
  { "$LINUX/bin/ondavia-cli" $run > "linux/$i.out" 2> "linux/$i.err"; echo $? > "linux/$i.rc"; } || true
  # shellcheck disable=SC2086
  { wine "$OUT/bin/ondavia-cli.exe" $run > "windows/$i.out" 2> "windows/$i.err"; echo $? > "windows/$i.rc"; } || true
  echo "$run" > "linux/$i.run"
done
if ! diff -r -q -x '*.run' linux windows > diff.txt; then
  while read -r _ a _ _ _; do
    n=$(basename "$a"); echo "differs: $(cat "linux/${n%.*}.run") ($n)"
  done < diff.txt
  exit 1
fi
echo "${#runs[@]} runs identical"

echo "== info on a full day: linux and wine"
day=in/20261210-FULLDAY1-S-01-ABCDEFG.TXT
time_of() {  # seconds for the best of three runs
  local best=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s.%N); "$@" > /dev/null; t1=$(date +%s.%N)
    best=$(echo "$t0 $t1 ${best:-999}" | awk '{d=$2-$1; print (d<$3)?d:$3}')
  done
  echo "$best"
}
echo "linux: $(time_of "$LINUX/bin/ondavia-cli" info "$day") s   wine: $(time_of wine "$OUT/bin/ondavia-cli.exe" info "$day") s"
