#!/usr/bin/env bash
# End-to-end under Wine: the real Windows exe, USB devices as Wine registry keys, an Xvfb
# display for the dialog, and dialog_driver.exe answering it as a user would.
# Usage: wine_suite.sh BUILD_DIR_32 BUILD_DIR_64
set -u

source "$(dirname "$0")/../lib/suite.sh"
# Windows runs the 32-bit exe; a kernel without 32-bit support can only run the 64-bit
# build of the same sources, under wine64.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  build=$1 WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
  echo "running the 32-bit exe under 32-bit Wine"
else
  build=$2 WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  echo "this machine cannot execute 32-bit code; running the 64-bit build of the same sources under wine64"
fi
export WINELOADER=$WINE WINESERVER WINEDEBUG=-all
for exe in usboffer.exe dialog_driver.exe confirm_probe.exe; do
  [ -f "$build/$exe" ] || { echo "missing $build/$exe: build the Windows presets first"; exit 1; }
done

work=$(mktemp -d /tmp/usboffer-wine-XXXXXX)
export WINEPREFIX=$work/prefix
xvfb_pid=
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
echo "display $DISPLAY; preparing a fresh Wine prefix"
timeout 300 "$WINE" wineboot -i >/dev/null 2>&1 || { echo "wineboot failed"; exit 1; }
"$WINESERVER" -p

tool=$work/tool

# Writes the devices, one "multi-string" argument each ("-" for a device without a
# HardwareID; "\0" separates strings), as USB instances in scan order.
devices() {
  local reg=$work/devices.reg i=0 id
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\\USB]\r\n\r\n'
    for id in "$@"; do
      printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\\USB\\DEV%02d\\1]\r\n' "$i"
      printf '"ClassGUID"="{36fc9e60-c465-11cf-8056-444553540000}"\r\n'
      if [ "$id" != - ]; then
        # REG_MULTI_SZ with its closing NUL; a .reg file without a BOM holds ANSI bytes.
        printf '"HardwareID"=hex(7):'
        printf '%b\0\0' "$id" | od -An -v -tx1 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/ /,/g'
        printf '\r\n'
      fi
      printf '\r\n'
      i=$((i + 1))
    done
  } >"$reg"
  "$WINE" regedit /S "$("$WINE" winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
}

# A fresh tool folder with the exe, the driver and installer scripts that mark their
# start and end; "slow" scripts take two seconds.
setup_tool() {
  rm -rf "$tool"
  mkdir -p "$tool"
  cp "$build/usboffer.exe" "$build/dialog_driver.exe" "$tool/"
  local name
  for name in "$@"; do
    printf '@echo off\r\necho start>%s.started\r\ndialog_driver.exe sleep 2000\r\necho end>%s.ended\r\n' \
      "$name" "$name" >"$tool/$name.bat"
  done
}

# run NAME "ARGS" "expected dialogs" "expected stderr" -- ACTION[:MARKER]...
# Runs the tool from its own folder, answers one dialog per action, checks that no
# further dialog appears, and compares what was shown, stdout, stderr and the exit code.
run_case() {
  local name=$1 args=$2 expected_dialogs=$3 expected_err=$4
  shift 5
  (cd "$tool" && timeout 120 "$WINE" usboffer.exe $args >"$work/out" 2>"$work/err"; echo $? >"$work/rc") &
  local pid=$! answer seen=
  for answer in "$@"; do
    seen+=$(cd "$tool" && timeout 60 "$WINE" dialog_driver.exe answer ${answer%%:*} \
      $([ "${answer#*:}" != "$answer" ] && echo "${answer#*:}") 2>/dev/null | tr -d '\r')$'\n'
  done
  seen+=$(cd "$tool" && timeout 60 "$WINE" dialog_driver.exe none 1500 2>/dev/null | tr -d '\r')$'\n'
  wait "$pid"
  local problems=
  [ -z "$expected_dialogs" ] || expected_dialogs+=$'\n'
  [ "$seen" = "$expected_dialogs"$'no dialog\n' ] ||
    problems+=$'  dialogs:\n'"$seen"$'  expected:\n'"$expected_dialogs"$'\n'
  [ "$(cat "$work/rc")" = 0 ] || problems+="  exit code $(cat "$work/rc")"$'\n'
  [ ! -s "$work/out" ] || problems+="  stdout: $(cat "$work/out")"$'\n'
  [ "$(tr -d '\r' <"$work/err")" = "$expected_err" ] || problems+="  stderr: $(cat "$work/err")"$'\n'
  check_markers || problems+="  markers: $(cd "$tool" && ls -- *.started *.ended 2>/dev/null | tr '\n' ' ')"$'\n'
  report "$name" "$problems"
}

# Which scripts must have run (both markers) and which not (no marker); set per case.
ran=() not_ran=()
check_markers() {
  local s
  for s in "${ran[@]}"; do [ -f "$tool/$s.started" ] && [ -f "$tool/$s.ended" ] || return 1; done
  for s in "${not_ran[@]}"; do [ ! -e "$tool/$s.started" ] || return 1; done
}

dialog() { echo "Confirm|Do you to install ($1)?|&Yes,&No|default=6|icon=yes|centred|side-by-side${2-}"; }

G='USB\\VID_A7C2&PID_E1D0&REV_0100\0USB\\VID_A7C2&PID_E1D0'
T='USB\\VID_A7C2&PID_E1D1&REV_0100\0USB\\VID_A7C2&PID_E1D1'
B='USB\\VID_A7C2&PID_0F13&REV_0001'
L='usb\\vid_6b1f&pid_5d22&rev_0100\0usb\\vid_6b1f&pid_5d22'
K='USB\\VID_6B1F&PID_5D21&REV_0100'

devices
setup_tool installGantryScanner
ran=() not_ran=(installGantryScanner)
run_case "no device: no dialog, no output" "" "" "" --

devices "$B" "$G" "$L" "$K"
setup_tool installBulkDriver installGantryScanner installLoadViewer installKX4Reader
ran=() not_ran=(installBulkDriver installGantryScanner installLoadViewer installKX4Reader)
run_case "several kinds in scan order, a lower-case ID; No, Escape, close box and Alt+F4 run nothing" "" \
  "$(dialog "Standard Bulk-USB Driver")
$(dialog "Gantry Surface Scanner")
$(dialog "Camera/Load Analyzer")
$(dialog "KX4 Reader Board")" "" -- no escape close altf4

devices "$G" "$T" 'USB\\VID_A7C2&PID_E1D0&REV_0200'
setup_tool installGantryScanner installQuennaCarver
ran=(installGantryScanner installQuennaCarver) not_ran=()
run_case "Yes runs the script; the next dialog only after it ended; one dialog per kind" "" \
  "$(dialog "Gantry Surface Scanner" "|marker=absent")
$(dialog "Tarvex Carving Machine" "|marker=present")" "" -- \
  enter:installGantryScanner.ended yes:installGantryScanner.ended

devices - "USB\\\\VID_A7C2&PID_E1D0&REV_0100&$(printf 'X%.0s' $(seq 70))" "$K"
setup_tool installGantryScanner installKX4Reader
ran=() not_ran=(installGantryScanner installKX4Reader)
run_case "missing and oversized HardwareID skipped, the next device still visited" "" \
  "$(dialog "KX4 Reader Board")" "" -- no

devices "$T" "$B" "$G"
setup_tool installGantryScanner
ran=(installGantryScanner) not_ran=()
run_case "Yes on a missing script: one stderr line, the next dialog follows; arguments change nothing" \
  "--help /x installBulkDriver.bat" \
  "$(dialog "Tarvex Carving Machine")
$(dialog "Standard Bulk-USB Driver")
$(dialog "Gantry Surface Scanner")" \
  "Could not start installQuennaCarver.bat, error 2
Could not start installBulkDriver.bat, error 2" -- yes enter yes

# The modal result of each way to answer, straight from the dialog.
long="Do you to install ($(printf 'Very Long Device Kind Name %.0s' $(seq 12)))?"
for answer in "enter 6" "yes 6" "no 7" "escape 7" "close 2" "altf4 2" "long 6"; do
  action=${answer% *} prompt="Do you to install (Probe)?"
  [ "$action" = long ] && action=enter prompt=$long
  (cd "$build" && timeout 60 "$WINE" confirm_probe.exe "$prompt" >"$work/probe" 2>/dev/null) &
  shown=$(cd "$build" && timeout 60 "$WINE" dialog_driver.exe answer "$action" 2>/dev/null | tr -d '\r')
  wait $!
  result=$(tr -d '\r' <"$work/probe")
  expected="Confirm|$prompt|&Yes,&No|default=6|icon=yes|centred|side-by-side"
  report "${answer% *} answers ${answer#* }" \
    "$([ "$result" = "${answer#* }" ] && [ "$shown" = "$expected" ] || printf '  result: %s\n  shown: %s' "$result" "$shown")"
done

summary wine
