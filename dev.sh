#!/usr/bin/env bash
# The whole set-up on a fresh Debian machine.
#   ./dev.sh run    install what is missing, build, start Horolo.exe under Wine
#   ./dev.sh test   install what is missing, build both presets, run every test
#   ./dev.sh bench  build and run the benchmark programs
#   ./dev.sh fuzz [SECONDS]  run every fuzz target for SECONDS each (default 60)
#   ./dev.sh dist   build and pack dist/Horolo-1.00.zip for Windows users
# HOROLO_BUILD names another build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD=${HOROLO_BUILD:-build}
WIN=$BUILD/win32
HOST=$BUILD/host
PACKAGES=(wine wine32:i386 g++-mingw-w64-i686-posix cmake g++ googletest
          xvfb xauth x11-utils imagemagick locales fonts-ipafont-gothic python3 python3-pil
          clang libclang-rt-dev)

log() { printf '== %s\n' "$*"; }

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

install_deps() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    missing+=(update)
  fi
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
      "${PACKAGES[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    log "generating the ja_JP.UTF-8 locale"
    as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
}

build() {
  log "building (win32)"
  cmake --preset win32 -B "$WIN" >/dev/null
  cmake --build "$WIN" -j2
  if [ "${1:-}" = all ]; then
    log "building (host)"
    cmake --preset host -B "$HOST" >/dev/null
    cmake --build "$HOST" -j2
  fi
}

# Wine environment of this build: one prefix, Japanese locale, no debug noise.
wine_env() {
  export WINEPREFIX=$(realpath -m "$WIN")/wineprefix WINEARCH=win32 WINEDEBUG=-all
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
}

XVFB_PID=
start_xvfb() {
  local n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2; return 1
}

# Starts Wine's server and services with their output detached, so that no
# test inherits (and holds open) ctest's pipes; a crash ends the process
# instead of waiting for a click on the crash dialog.
start_wine() {
  wine_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix"
    wineboot -i </dev/null >/dev/null 2>&1 || true
  fi
  wineserver -p </dev/null >/dev/null 2>&1 || true  # already running after wineboot
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  # Our Xvfb has no window manager: unmanaged windows hide at once instead of
  # waiting two seconds for a window-manager state that never comes. On a
  # real desktop the window manager manages the clock as usual.
  local managed=Y
  [ -n "$XVFB_PID" ] && managed=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d $managed /f </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}

cmd_test() {
  install_deps
  build all
  trap stop_all EXIT
  start_xvfb
  start_wine
  local rc=0
  log "tests (win32, under Wine)"
  ctest --test-dir "$WIN" --output-on-failure --timeout 120 -j2 || rc=1
  log "tests (host, sanitizers)"
  ctest --test-dir "$HOST" --output-on-failure --timeout 120 -j2 || rc=1
  [ $rc = 0 ] && log "all tests passed" || log "TESTS FAILED"
  return $rc
}

cmd_run() {
  install_deps
  build
  if [ -n "${DISPLAY:-}" ]; then
    start_wine
    exec wine "$WIN/bin/Horolo.exe"
  fi
  trap stop_all EXIT
  start_xvfb
  start_wine
  log "no display: running Horolo on Xvfb $DISPLAY for a few seconds"
  wine "$WIN/bin/Horolo.exe" </dev/null >/dev/null 2>&1 &
  local pid=$!
  local wid=
  for _ in $(seq 100); do
    wid=$(xwininfo -root -children 2>/dev/null | awk '/"Horolo":/ && !/ 1x1+/ {print $1; exit}')
    [ -n "$wid" ] && break
    sleep 0.1
  done
  if [ -z "$wid" ]; then echo "the clock window did not appear" >&2; kill $pid 2>/dev/null; return 1; fi
  sleep 3
  import -display "$DISPLAY" -window "$wid" "$BUILD/screenshot.png"
  log "screenshot: $BUILD/screenshot.png"
  wine "$WIN/bin/closewindow.exe" Horolo </dev/null >/dev/null 2>&1 || true
  local rc=0
  wait $pid || rc=$?
  log "Horolo exited with code $rc"
  return $rc
}

cmd_bench() {
  install_deps
  build
  trap stop_all EXIT
  [ -n "${DISPLAY:-}" ] || start_xvfb
  start_wine
  # Sound plays into ALSA's null device; the alarm's failure path is measured
  # with ALSA pointed at nothing.
  export ALSA_CONFIG_PATH=$ROOT/tools/alsa-null.conf
  for b in "$WIN"/bin/bench_*.exe; do
    log "$(basename "$b")"
    wine "$b" </dev/null
  done
  log "economy mode against the floor"
  bench/economy_vs_floor.sh "$WIN/bin" 60
  bench/economy_vs_floor.sh "$WIN/bin" 60 text
  log "bench_alarm.exe without a sound device"
  ALSA_CONFIG_PATH=/dev/null wine "$WIN/bin/bench_alarm.exe" nodevice </dev/null
}

# Each fuzz target starts from its committed seeds and keeps what it finds in
# build/host/fuzz/NAME; a crash leaves its input there and fails the command.
cmd_fuzz() {
  local seconds=${1:-60} rc=0
  install_deps
  cmake --preset host -B "$HOST" >/dev/null
  cmake --build "$HOST" -j2
  for f in tests/fuzz/corpus/*/; do
    local name work bin flags
    name=$(basename "$f")
    work=$HOST/fuzz/$name
    bin=$(realpath "$HOST/tests/fuzz/$name")
    read -ra flags < "$bin.flags"
    mkdir -p "$work"
    log "fuzzing $name for ${seconds}s"
    (cd "$work" && "$bin" "${flags[@]}" -max_total_time="$seconds" -print_final_stats=1 \
       . "$ROOT/$f") || rc=1
  done
  [ $rc = 0 ] && log "no fuzz target failed" || log "A FUZZ TARGET FAILED (input kept in $HOST/fuzz)"
  return $rc
}

# The files a Windows user needs, in one folder of a zip, the programs
# without their debugging information; the read-me in UTF-8 with a
# byte-order mark, so that Notepad shows its Japanese.
cmd_dist() {
  install_deps
  build
  local name=Horolo-1.00 stage=$BUILD/dist
  rm -rf "$stage"
  mkdir -p "$stage/$name" dist
  for f in Horolo.exe hrl_spi.dll hrlwic.spi Fortune.dat Horolo.hlp Horolo.wav; do
    cp "$WIN/bin/$f" "$stage/$name/"
  done
  i686-w64-mingw32-strip "$stage/$name/Horolo.exe" "$stage/$name/hrl_spi.dll" "$stage/$name/hrlwic.spi"
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' app/resources/README.txt; } > "$stage/$name/README.txt"
  rm -f "dist/$name.zip"
  (cd "$stage" && /usr/bin/python3 -m zipfile -c "$ROOT/dist/$name.zip" "$name")
  log "dist/$name.zip"
}

case "${1:-}" in
  run) cmd_run ;;
  test) cmd_test ;;
  bench) cmd_bench ;;
  fuzz) shift; cmd_fuzz "$@" ;;
  dist) cmd_dist ;;
  *) echo "usage: $0 run|test|bench|fuzz [SECONDS]|dist" >&2; exit 2 ;;
esac
