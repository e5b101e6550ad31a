#!/bin/sh
# Whole-process cost of opening a recording: `ondavia-cli info FILE` against
# `cat FILE` of the same bytes, for a full day of 1-second data, an hour of
# 0.01-second data and eight hours of 0.01-second data. The files are
# generated here (nothing large is kept in the tree).
#
#   bench/process_bench.sh BUILD_DIR [RUNS [REPEAT]]
#
# Prints, per file: its size, the wall and CPU time of one run of each
# process (best of RUNS loops of REPEAT runs), their ratio, and the peak
# resident memory of `info`. The machine
# may be shared: the best of several runs is the least disturbed one, and CPU
# time is steadier than wall time.
set -eu
build=${1:?usage: process_bench.sh BUILD_DIR [RUNS [REPEAT]]}
runs=${2:-5}
repeat=${3:-10}
bin="$build/bin"
cli="$bin/ondavia-cli"
gen="$bin/ondavia-synthfile"
for tool in "$cli" "$gen"; do
    [ -x "$tool" ] || { echo "missing $tool (build ondavia-cli and ondavia-synthfile)" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (GNU time)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/ondavia-process-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

# "WALL_MS CPU_MS" per run of a command: REPEAT runs in one timed loop (GNU
# time counts in 10 ms steps), the best loop of RUNS.
timed() {
    bw=999999; bc=999999
    k=0
    while [ "$k" -lt "$runs" ]; do
        # shellcheck disable=SC2016 # the loop runs in the inner shell
        /usr/bin/time -f '%e %U %S' -o "$work/time.txt" \
            sh -c 'n=$1; shift; i=0; while [ "$i" -lt "$n" ]; do "$@" >/dev/null; i=$((i + 1)); done' \
            sh "$repeat" "$@"
        read -r w u s <"$work/time.txt"
        w=$(echo "$w * 1000 / $repeat" | bc -l); c=$(echo "($u + $s) * 1000 / $repeat" | bc -l)
        [ "$(echo "$w < $bw" | bc)" = 1 ] && bw=$w
        [ "$(echo "$c < $bc" | bc)" = 1 ] && bc=$c
        k=$((k + 1))
    done
    echo "$bw $bc"
}

measure() {
    label=$1 name=$2 records=$3 kind=${4:-}
    file="$work/$name"
    "$gen" "$file" "$records" ${kind:+"$kind"}
    size=$(stat -c %s "$file")
    cat "$file" >/dev/null  # warm the page cache
    /usr/bin/time -f '%M' -o "$work/rss.txt" "$cli" info "$file" >/dev/null
    rss=$(cat "$work/rss.txt")
    read -r cw cc <<EOT
$(timed cat "$file")
EOT
    read -r iw ic <<EOT
$(timed "$cli" info "$file")
EOT
    printf '%-16s %10d bytes | cat %6.1f ms wall %6.1f ms cpu | info %6.1f ms wall %6.1f ms cpu | ratio wall %4.1f cpu %4.1f | info peak %6.1f MB = %.2f x file\n' \
        "$label" "$size" "$cw" "$cc" "$iw" "$ic" "$(echo "$iw / $cw" | bc -l)" \
        "$(echo "$ic / ($cc + 0.001)" | bc -l)" "$(echo "$rss / 1024" | bc -l)" \
        "$(echo "$rss * 1024 / $size" | bc -l)"
}

measure "day, 1 s" 20261210-BENCH001-S-01-ABCDEFG.TXT 86400
measure "hour, 0.01 s" 20261210-BENCH001-C-01-ABCDEFG.TXT 360000 hundredths
measure "8 hours, 0.01 s" 20261210-BENCH002-C-01-ABCDEFG.TXT 2880000 hundredths
