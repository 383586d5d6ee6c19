#!/usr/bin/env bash
# The whole set-up on a fresh Debian machine.
#   ./dev.sh run    install what is missing, build, start Horolo.exe under Wine
#   ./dev.sh test   install what is missing, build both presets, run every test
#   ./dev.sh bench  build and run the benchmark programs
#   ./dev.sh fuzz [SECONDS]  run every fuzz target for SECONDS each (default 60)
#   ./dev.sh dist   build and pack dist/Horolo-VERSION.zip for Windows users
#   ./dev.sh debian13  run the two commands above the way a newcomer does, on a
#                   fresh Debian 13 root made with debootstrap
# HOROLO_BUILD names another build folder (default: build).
# HOROLO_DEBIAN13_ROOT names the Debian 13 root (default: /var/tmp/horolo-debian13).
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD=${HOROLO_BUILD:-build}
WIN=$BUILD/win32
HOST=$BUILD/host
PACKAGES=(wine wine32:i386 g++-mingw-w64-i686-posix cmake g++ googletest
          xvfb xauth x11-utils imagemagick locales fonts-ipafont-gothic fonts-wine python3 python3-pil
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

# The font mapping for Wine as Windows' .reg files are: UTF-16 with a
# byte-order mark, so that any Wine locale reads it the same.
wine_fonts_reg() {
  python3 -c 'import sys; open(sys.argv[2], "w", encoding="utf-16", newline="\r\n").write(open(sys.argv[1], encoding="utf-8").read())' \
    app/resources/wine-fonts.reg "$1"
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

# Wine runs the 32-bit programs as 32-bit code, which some virtual machines'
# kernels do not run at all (IA-32 emulation off: every i386 program fails
# with "Exec format error").
runs_32bit_code() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Starts Wine's server and services with their output detached, so that no
# test inherits (and holds open) ctest's pipes; a crash ends the process
# instead of waiting for a click on the crash dialog.
start_wine() {
  wine_env
  if ! runs_32bit_code; then
    echo "Wine does not start on this machine: its kernel does not run 32-bit programs (IA-32 emulation is off)" >&2
    return 1
  fi
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
  # The fonts the windows name, as faces of the same kind (proportional or
  # fixed). Debian 12's Wine 8 looks for its own fonts in /usr/share/fonts,
  # not in /usr/share/wine/fonts where fonts-wine puts them, and so draws the
  # caption buttons' symbols as letters: its Marlett goes into the prefix's
  # font folder, which every Wine reads.
  local reg marlett=/usr/share/wine/fonts/marlett.ttf
  reg=$(realpath -m "$WIN/wine-fonts.reg")
  wine_fonts_reg "$reg"
  wine reg import "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
  if [ -f "$marlett" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

# Holds Wine's desktop for a test run (holddesktop.exe): the desktop process
# starts here with detached output, once, instead of in a test that would
# wait for it and hand it ctest's pipes. Returns once the desktop is up.
hold_desktop() {
  local fifo ready=
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  wine "$WIN/bin/holddesktop.exe" </dev/null >"$fifo" 2>/dev/null &
  read -r ready <"$fifo" || true
  rm -f "$fifo"
  [ "$ready" = ready ] || { echo "Wine's desktop did not start" >&2; return 1; }
}

stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}

cmd_test() {
  install_deps
  build all
  local rc=0
  if runs_32bit_code; then
    trap stop_all EXIT
    start_xvfb
    start_wine
    hold_desktop
    log "tests (win32, under Wine)"
    ctest --test-dir "$WIN" --output-on-failure --timeout 120 -j2 || rc=1
  else
    log "THIS KERNEL DOES NOT RUN 32-BIT PROGRAMS: Wine cannot start, so the win32 tests under Wine are NOT RUN"
    log "tests (win32, the checks of the built files that need no Wine)"
    /usr/bin/python3 tests/info/help_file_test.py "$WIN/bin/Horolo.hlp" app/info/data/help.txt "$WIN/bin/Horolo.html" || rc=1
    tests/spi/exports_test.sh i686-w64-mingw32-objdump "$WIN/bin/hrl_spi.dll" || rc=1
  fi
  log "tests (host, sanitizers)"
  ctest --test-dir "$HOST" --output-on-failure --timeout 120 -j2 || rc=1
  if [ $rc != 0 ]; then log "TESTS FAILED"
  elif runs_32bit_code; then log "all tests passed"
  else log "the native tests passed; the Wine tests were NOT RUN on this kernel"
  fi
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
  local name stage=$BUILD/dist
  name=Horolo-$(cat "$WIN/version.txt")
  rm -rf "$stage"
  mkdir -p "$stage/$name" dist
  for f in Horolo.exe hrl_spi.dll hrlwic.spi Fortune.dat Horolo.hlp Horolo.html Horolo.wav; do
    cp "$WIN/bin/$f" "$stage/$name/"
  done
  i686-w64-mingw32-strip "$stage/$name/Horolo.exe" "$stage/$name/hrl_spi.dll" "$stage/$name/hrlwic.spi"
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$WIN/README.txt"; } > "$stage/$name/README.txt"
  wine_fonts_reg "$stage/$name/wine-fonts.reg"
  rm -f "dist/$name.zip"
  (cd "$stage" && /usr/bin/python3 -m zipfile -c "$ROOT/dist/$name.zip" "$name")
  log "dist/$name.zip"
}

# The Debian mirror this machine's apt already uses.
debian_mirror() {
  local uri
  uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
  [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $2 !~ /security/ {print $2; exit}' /etc/apt/sources.list 2>/dev/null)
  echo "${uri:-http://deb.debian.org/debian}"
}

ROOT_MOUNTS=()
unmount_root() {
  local i
  for ((i = ${#ROOT_MOUNTS[@]} - 1; i >= 0; i--)); do umount -l "${ROOT_MOUNTS[i]}" || true; done
}

# A minimal Debian 13 root outside the repository (made once, kept for the
# next run), a clone of this checkout's committed HEAD inside it, and there
# the README's two commands as a newcomer types them, each one timed. The
# root's /tmp is its own: its Xvfb and Wine never meet this machine's.
cmd_debian13() {
  local root=${HOROLO_DEBIAN13_ROOT:-/var/tmp/horolo-debian13}
  root=$(realpath -m "$root")
  case "$root/" in
    "$ROOT"/*) echo "the Debian 13 root must lie outside the repository: $root" >&2; return 2 ;;
  esac
  if [ "$(id -u)" != 0 ]; then
    exec sudo HOROLO_DEBIAN13_ROOT="$root" "$ROOT/dev.sh" debian13
  fi
  if [ ! -f "$root/etc/debian_version" ]; then
    command -v debootstrap >/dev/null || { apt-get update -qq; apt-get install -y -qq debootstrap >/dev/null; }
    local mirror start=$SECONDS
    mirror=$(debian_mirror)
    log "making a Debian 13 root in $root from $mirror"
    rm -rf "$root.partial"
    debootstrap --variant=minbase --include=ca-certificates,git trixie "$root.partial" "$mirror" >/dev/null
    mv "$root.partial" "$root"
    log "root made in $((SECONDS - start)) s"
  fi
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  trap unmount_root EXIT
  for m in proc dev dev/pts sys; do
    mountpoint -q "$root/$m" && continue
    mount --bind "/$m" "$root/$m"
    ROOT_MOUNTS+=("$root/$m")
  done
  local head
  head=$(git rev-parse HEAD)
  rm -rf "$root/root/horolo"
  git clone --quiet --no-hardlinks "$ROOT" "$root/root/horolo"
  git -C "$root/root/horolo" checkout --quiet --detach "$head"
  log "Debian $(cat "$root/etc/debian_version"), Horolo at $(git rev-parse --short HEAD)"
  local rc=0 times=()
  for c in run test; do
    local start=$SECONDS status=0
    log "./dev.sh $c (in the Debian 13 root)"
    chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/bash -c "cd /root/horolo && ./dev.sh $c" || status=$?
    local took=$((SECONDS - start))
    times+=("./dev.sh $c: $((took / 60)) min $((took % 60)) s, exit code $status")
    [ $status = 0 ] || rc=1
  done
  for t in "${times[@]}"; do log "Debian 13: $t"; done
  return $rc
}

case "${1:-}" in
  run) cmd_run ;;
  test) cmd_test ;;
  bench) cmd_bench ;;
  fuzz) shift; cmd_fuzz "$@" ;;
  dist) cmd_dist ;;
  debian13) cmd_debian13 ;;
  *) echo "usage: $0 run|test|bench|fuzz [SECONDS]|dist|debian13" >&2; exit 2 ;;
esac
