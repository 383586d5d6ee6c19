#!/usr/bin/env bash
# The clock in economy mode (1000 ms) against the floor, a minimal Win32
# analogue clock, both running at once under the same Wine server and X
# server: each process's CPU time over the same window, read the same way
# (the sum of /proc/PID/task/*/schedstat over its threads; Wine's shared
# server is counted for neither), printed with their ratio; then the clock's
# lag of the hands behind the change of second.
#   economy_vs_floor.sh BIN_DIR [SECONDS] [text]
# Needs the Wine environment and DISPLAY of ./dev.sh (it runs from there).
set -euo pipefail
bin=$1
seconds=${2:-60}
variant=${3:-}

cpu_ns() {  # total CPU nanoseconds of all threads of a process
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%d", sum }'
}

out=$(mktemp)
wine "$bin/floor_clock.exe" </dev/null >/dev/null 2>&1 &
floor=$!
wine "$bin/bench_clock.exe" economy $variant </dev/null >"$out" 2>/dev/null &
clock=$!
sleep 5  # both windows up, start-up costs behind them

f0=$(cpu_ns $floor); c0=$(cpu_ns $clock); t0=$(date +%s%N)
sleep "$seconds"
f1=$(cpu_ns $floor); c1=$(cpu_ns $clock); t1=$(date +%s%N)

wine "$bin/closewindow.exe" Floor </dev/null >/dev/null 2>&1 || true
wine "$bin/closewindow.exe" Horolo </dev/null >/dev/null 2>&1 || true
wait $floor $clock || true

awk -v f=$((f1 - f0)) -v c=$((c1 - c0)) -v wall=$((t1 - t0)) -v s="$seconds" -v v="${variant:-no time text}" 'BEGIN {
  printf "economy mode (1000 ms, %s) against the floor, side by side for %d s:\n", v, s
  printf "  floor %.3f %% of one core, clock %.3f %%, ratio %.2f\n", 100 * f / wall, 100 * c / wall, c / f
}'
sed 's/^/  /' "$out"
rm -f "$out"
