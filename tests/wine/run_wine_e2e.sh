#!/usr/bin/env bash
# End-to-end test of the Windows setup program (zor-setup.exe) under Wine, on a
# virtual display, driven from inside Wine by zor-driver.exe.
#
#   run_wine_e2e.sh --windows-build=DIR --packer=PATH
#
# DIR is the build folder of the mingw preset (zor-setup.exe, the stand-in
# ZOR.exe with its help files, zor-driver.exe); PATH is the payload packer
# (zor-pack INPUT OUTPUT). Exits 77 (skipped) when Wine, Xvfb, the Windows
# build or the packer is missing, 0 when every case passes, 1 otherwise.
#
# Cases, all in one fresh Wine prefix:
#   a) default folder, create it: the payload is installed and ZOR.exe starts there
#   b) a folder whose parent is missing: the creation fails and is reported
#   c) a payload without ZOR.hl_: the copy failure is reported, ZOR.exe stays, nothing starts
#   d) Cancel, No (the dialog stays), Cancel, Yes: nothing is written
set -uo pipefail

readonly SKIP=77
windows_build=""
packer=""
for argument in "$@"; do
  case $argument in
    --windows-build=*) windows_build=${argument#*=} ;;
    --packer=*) packer=${argument#*=} ;;
    *) echo "usage: $0 --windows-build=DIR --packer=PATH" >&2; exit 2 ;;
  esac
done

skip() {
  echo "SKIPPED: $*"
  exit $SKIP
}

for tool in wine wineserver wineboot Xvfb timeout cmp; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (Debian packages: wine wine64 xvfb)"
done
[ -n "$packer" ] && [ -x "$packer" ] || skip "the payload packer (zor-pack) is not built: '${packer}'"
[ -n "$windows_build" ] || skip "no Windows build folder given"

setup_exe=$windows_build/src/zor-setup.exe
driver_exe=$windows_build/tests/windows/zor-driver.exe
standin_dir=$windows_build/demo/windows
for file in "$setup_exe" "$driver_exe" "$standin_dir/ZOR.exe" "$standin_dir/ZOR.hlp" "$standin_dir/ZOR.cnt"; do
  [ -f "$file" ] || skip "$file is missing: build the Windows target first (cmake --preset mingw && cmake --build --preset mingw)"
done

echo "zor-setup.exe: $(stat -c %s "$setup_exe") bytes"

started=$(date +%s)
elapsed() { echo "$(($(date +%s) - started)) s"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zor-wine-e2e.XXXXXX")
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset WINELOADER WINESERVER
xvfb_pid=""
holder_pid=""

cleanup() {
  # Wine first (its programs use the display), then the display.
  if [ -d "$WINEPREFIX" ]; then
    timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$holder_pid" ]; then
    kill "$holder_pid" 2>/dev/null
    wait "$holder_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# --- the virtual display --------------------------------------------------
# Xvfb picks a free display and writes its number once it accepts clients.
timeout 600 Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
display=$(head -n 1 "$work/display" 2>/dev/null)
[[ $display =~ ^[0-9]+$ ]] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$display

# --- the payload ----------------------------------------------------------
# The stand-in's three files, packed by our packer. Every packed file must be
# in the compressed format (the expansion library copies any other file as it
# is, which would hide a packer that does not compress).
originals=$standin_dir
payload=$work/payload
partial_payload=$work/payload-without-help
mkdir -p "$payload" "$partial_payload"
szdd_magic=$(printf 'SZDD\x88\xf0\x27\x33' | od -An -tx1)
for pair in ZOR.exe:ZOR.ex_ ZOR.hlp:ZOR.hl_ ZOR.cnt:ZOR.cn_; do
  original=${pair%%:*}
  packed=${pair##*:}
  if ! "$packer" "$originals/$original" "$payload/$packed" >"$work/pack.log" 2>&1; then
    echo "FAIL: the packer failed on $original"; cat "$work/pack.log"; exit 1
  fi
  if [ "$(head -c 8 "$payload/$packed" | od -An -tx1)" != "$szdd_magic" ]; then
    echo "FAIL: $packed is not in the compressed format"; exit 1
  fi
done
cp "$payload/ZOR.ex_" "$payload/ZOR.cn_" "$partial_payload/"

# --- the Wine prefix --------------------------------------------------------
# One server, started before the prefix is made, serves every case: its system
# processes then stay up between cases instead of starting anew for each
# program. Its persistence is bounded, so that it ends by itself even if this
# script is killed before its cleanup.
mkdir -p "$WINEPREFIX"
timeout 30 wineserver -p30 >"$work/wineserver.log" 2>&1 </dev/null
# Wine's desktop process ends once no program uses the desktop, and programs
# that start together then race to bring it back (one of them waits ten
# seconds). One program keeps it in use for the whole test. Being the first
# program in the new prefix, it also has Wine set the prefix up first.
timeout 300 wine "$driver_exe" "hold-desktop 280000" >"$work/desktop.log" 2>&1 </dev/null &
holder_pid=$!
for _ in $(seq 1800); do
  grep -q 'desktop ready' "$work/desktop.log" && break
  kill -0 "$holder_pid" 2>/dev/null || break
  sleep 0.1
done
grep -q 'desktop ready' "$work/desktop.log" || { echo "FAIL: the Wine prefix or desktop did not come up"; cat "$work/desktop.log"; exit 1; }
# There is no window manager on the virtual display: Wine's X11 driver would
# wait for one (two seconds) each time a window closes. Unmanaged windows
# need none.
if ! timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$work/reg.log" 2>&1 </dev/null; then
  echo "FAIL: could not configure Wine's X11 driver"; cat "$work/reg.log"; exit 1
fi
drive_c=$WINEPREFIX/drive_c
echo "prefix ready after $(elapsed)"

failures=0
check() {
  # check DESCRIPTION COMMAND...: runs the command; a failure is counted.
  local description=$1
  shift
  if "$@"; then
    echo "  ok: $description"
  else
    echo "  FAIL: $description"
    failures=$((failures + 1))
  fi
}

# Lists what a case could have written to drive C: everything but the user
# profiles, which Wine itself keeps writing to.
snapshot() {
  find "$drive_c" -path "$drive_c/users" -prune -o -print | sort
}

# run_case NAME PAYLOAD_FOLDER DRIVER_SCRIPT: starts setup from the payload
# folder, runs the driver script against it and waits for setup to end.
# Sets setup_exit and driver_exit.
run_case() {
  local name=$1 folder=$2 script=$3 setup_pid
  echo "case $name"
  (cd "$folder" && exec timeout 90 wine "$setup_exe") >"$work/setup-$name.log" 2>&1 </dev/null &
  setup_pid=$!
  timeout 90 wine "$driver_exe" "$script" >"$work/driver-$name.log" 2>&1 </dev/null
  driver_exit=$?
  grep -E '^(driver|FAIL)' "$work/driver-$name.log" | sed 's/^/  /'
  if [ "$driver_exit" -ne 0 ]; then
    # Do not leave setup waiting for an answer: end this case's programs.
    timeout 30 wineserver -k >/dev/null 2>&1
  fi
  wait "$setup_pid"
  setup_exit=$?
  echo "  zor-setup exit code $setup_exit, driver exit code $driver_exit ($(elapsed))"
}

readonly FOLDER_QUESTION="Specified directory does not exist! Would you like to create it?"
readonly FOLDER_ERROR="Setup was unable to create the specified directory! Please make sure it is a valid path and that you have the appropriate permissions."
readonly COPY_FAILURE="Setup was unable to copy the ZOR files. Please ensure that you have enough free disk space, and that you have the appropriate access privelages."
readonly CANCEL_QUESTION="Are you sure you wish to cancel ZOR Setup?"

# The folder holds exactly the files named.
holds_exactly() {
  local folder=$1
  shift
  local listing
  listing=$(cd "$folder" 2>/dev/null && ls -A | sort)
  [ "$listing" = "$(printf '%s\n' "$@" | sort)" ] && return 0
  echo "  $folder holds: $(echo $listing)"
  return 1
}

# Waits up to 20 seconds for a file to appear.
appears() {
  for _ in $(seq 200); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# --- the program's imports -------------------------------------------------
# The program runs on a bare Windows: it may need the system's DLLs only.
system_dlls_only() {
  local imports
  imports=$(x86_64-w64-mingw32-objdump -p "$setup_exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
  echo "  imports: $(echo $imports)"
  ! echo "$imports" | grep -qvxE 'kernel32\.dll|user32\.dll|gdi32\.dll|shell32\.dll|ole32\.dll|lz32\.dll|msvcrt\.dll'
}
if command -v x86_64-w64-mingw32-objdump >/dev/null; then
  check "zor-setup.exe imports system DLLs only" system_dlls_only
fi

# --- a) the default folder, created on Yes ---------------------------------
installed="$drive_c/Program Files/ZOR"
check "the default folder does not exist yet" test ! -e "$installed"
run_case a "$payload" "wait-dialog; expect-folder \"C:\\Program Files\\ZOR\\\"; click 1004;
  expect-box \"ZOR Setup\" \"$FOLDER_QUESTION\" yes; wait-closed"
check "the driver passed" test "$driver_exit" -eq 0
check "setup exited with 0" test "$setup_exit" -eq 0
for file in ZOR.exe ZOR.hlp ZOR.cnt; do
  check "$file installed with its original bytes" cmp "$originals/$file" "$installed/$file"
done
check "ZOR.exe started and left its marker" appears "$installed/zor-started.txt"
expected_marker=$(printf 'C:\\Program Files\\ZOR\\ZOR.exe\nC:\\Program Files\\ZOR\n')
marker=$(cat "$installed/zor-started.txt" 2>/dev/null)
check "ZOR.exe ran from the install folder, with it as current directory" test "$marker" = "$expected_marker"
[ "$marker" = "$expected_marker" ] || printf '  marker holds:\n%s\n' "$marker"
check "the folder holds the three files and the marker only" \
  holds_exactly "$installed" ZOR.exe ZOR.hlp ZOR.cnt zor-started.txt

# --- b) a folder whose parent does not exist -------------------------------
before=$(snapshot)
run_case b "$payload" "wait-dialog; set-folder \"C:\\Missing\\Deeper\\\"; expect-folder \"C:\\Missing\\Deeper\\\";
  click 1004; expect-box \"ZOR Setup\" \"$FOLDER_QUESTION\" yes; expect-box \"ZOR Setup\" \"$FOLDER_ERROR\" ok;
  wait-closed"
check "the driver passed" test "$driver_exit" -eq 0
check "setup exited with 0" test "$setup_exit" -eq 0
check "no folder was created" test ! -e "$drive_c/Missing"
check "nothing was written to drive C" test "$(snapshot)" = "$before"

# --- c) the help file is missing from the payload --------------------------
partial="$drive_c/Partial"
run_case c "$partial_payload" "wait-dialog; set-folder \"C:\\Partial\"; click 1004;
  expect-box \"ZOR Setup\" \"$FOLDER_QUESTION\" yes; expect-box \"ZOR Setup Error\" \"$COPY_FAILURE\" ok;
  wait-closed"
check "the driver passed" test "$driver_exit" -eq 0
check "setup exited with 0" test "$setup_exit" -eq 0
check "ZOR.exe was expanded and kept" cmp "$originals/ZOR.exe" "$partial/ZOR.exe"
# A started ZOR.exe would leave its marker within moments of setup's end.
sleep 2
check "nothing else is in the folder, and ZOR.exe was not started" holds_exactly "$partial" ZOR.exe
check "nothing was written to the payload folder" holds_exactly "$partial_payload" ZOR.ex_ ZOR.cn_

# --- d) Cancel, No, then Cancel, Yes ---------------------------------------
before=$(snapshot)
run_case d "$payload" "wait-dialog; click 1006; expect-box \"ZOR Setup\" \"$CANCEL_QUESTION\" no;
  expect-no-box 500; expect-folder \"C:\\Program Files\\ZOR\\\";
  click 1006; expect-box \"ZOR Setup\" \"$CANCEL_QUESTION\" yes; wait-closed"
check "the driver passed" test "$driver_exit" -eq 0
check "setup exited with 0" test "$setup_exit" -eq 0
check "nothing was written to drive C" test "$(snapshot)" = "$before"
check "nothing was written to the payload folder" holds_exactly "$payload" ZOR.ex_ ZOR.hl_ ZOR.cn_

echo "total $(elapsed)"
if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; logs:"
  for log in "$work"/setup-*.log "$work"/driver-*.log; do
    echo "--- $(basename "$log")"
    grep -v 'wine32' "$log"
  done
  exit 1
fi
echo "all cases passed"
