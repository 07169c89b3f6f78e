#!/usr/bin/env bash
# The shipped Linux binary end to end: a simulated USB tree laid out as the kernel does,
# in a private mount namespace (tmpfs over /sys/bus and /sys/devices), answers on standard
# input, and installer scripts that report on the shared standard error.
# Usage: sysfs_e2e.sh PATH_TO_USBOFFER   (as root)
set -u

source "$(dirname "$0")/../lib/suite.sh"
enter_mount_namespace "$0" "$@"

binary=$(readlink -f "$1")
mount -t tmpfs tmpfs /sys/bus || exit 1
mount -t tmpfs tmpfs /sys/devices || exit 1
root=$(mktemp -d /tmp/usboffer-e2e-XXXXXX)
trap 'rm -rf "$root"' EXIT
tool=$root/tool work=$root/work pathbin=$root/pathbin
pci=/sys/devices/pci0000:00/0000:00:14.0
list=/sys/bus/usb/devices

reset_tree() {
  rm -rf /sys/bus/* /sys/devices/*
  mkdir -p "$list" "$pci"
}

# device NAME VID PID [REV]: a device folder where the kernel puts it ("1-1.2" under
# usb1/1-1), its identity attributes, and its link in the device list.
device() {
  local name=$1 bus=${1%%-*} path
  if [[ $name == usb* ]]; then
    bus=${name#usb} path=$pci/$name
  else
    path=$pci/usb$bus
    local port=${name#*-} prefix=$bus-
    local IFS=.
    for part in $port; do
      path=$path/$prefix$part
      prefix=$prefix$part.
    done
  fi
  mkdir -p "$path"
  printf '%s\n' "$2" >"$path/idVendor"
  printf '%s\n' "$3" >"$path/idProduct"
  [ -n "${4-}" ] && printf '%s\n' "$4" >"$path/bcdDevice"
  printf '%s\n' "$bus" >"$path/busnum"
  # Interfaces sit beside the devices in the list but are not devices.
  mkdir -p "$path/$name:1.0"
  printf 'ff\n' >"$path/$name:1.0/bInterfaceClass"
  ln -s "../../../devices/${path#/sys/devices/}" "$list/$name"
  [[ $name == usb* ]] || ln -s "../../../devices/${path#/sys/devices/}/$name:1.0" "$list/$name:1.0"
}

# A fresh tool folder (a copy of the binary), working folder and PATH folder.
# script FOLDER NAME [MODE]: an installer that reports its start and end on stderr.
reset_folders() {
  rm -rf "$tool" "$work" "$pathbin"
  mkdir -p "$tool" "$work" "$pathbin"
  cp "$binary" "$tool/usboffer"
}
script() {
  printf '#!/bin/sh\necho "%s started" >&2\nsleep 1\necho "%s ended" >&2\n' "$2" "$2" >"$1/$2.bat"
  chmod "${3:-755}" "$1/$2.bat"
}
prompt() { printf 'Confirm: Do you to install (%s)? [Y/n] ' "$1"; }

# run NAME INPUT_FILE EXPECTED_STDOUT EXPECTED_STDERR [ARGS...]: runs the tool from the
# working folder and compares all it wrote and its exit code.
run_case() {
  local name=$1 input=$2 expected_out=$3 expected_err=$4
  shift 4
  (cd "$work" && PATH="$pathbin:/usr/bin:/bin" timeout 60 "$tool/usboffer" "$@" <"$input" >"$root/out" 2>"$root/err")
  local rc=$? problems=
  [ "$rc" -eq 0 ] || problems+="  exit code $rc"$'\n'
  [ "$(cat "$root/out")" = "$expected_out" ] || problems+="  stdout: $(cat -A "$root/out")"$'\n'
  [ "$(cat "$root/err")" = "$expected_err" ] ||
    problems+="  stderr:"$'\n'"$(cat -A "$root/err")"$'\n'"  expected:"$'\n'"$(printf '%s' "$expected_err" | cat -A)"$'\n'
  report "$name" "$problems"
}
answers() { printf "$1" >"$root/in"; echo "$root/in"; }

# --- A tree of two buses, every kind of answer and every place a script can be.
reset_tree
reset_folders
device usb1 1d6b 0002 0606
device 1-1 05e3 0610 9226               # a hub
device 1-1.2 a7c2 e1d0 0100             # Gantry: script runs
device 1-10 a7c2 0f13 0001              # Bulk: script missing
device 1-2 6b1f 5d21 0100               # KX4: No
device usb2 1d6b 0003 0606
device 2-1 6b1f 7001 0200               # Serial bridge: script without execute permission
device 2-3 a7c2 e1d0 0200               # a second Gantry: not asked again
device 2-4 a7c2 e1d1                    # Tarvex without bcdDevice: skipped
device 2-5 a7c2 e1d2 0100               # next to Tarvex's product number: no kind
device 2-6 3e91 0c40 0100               # Morvish: script only in the working folder
device 2-7 6b1f 5d22 0100               # Camera: script on PATH
device 2-8 6b1f 5d20 0100               # Basic Contour: No
script "$tool" installGantryScanner
script "$tool" installKX4Reader
script "$tool" installSerialBridge 644
script "$tool" installQuennaCarver
script "$work" installZelbaImager
script "$pathbin" installLoadViewer
script "$tool" installBasicContourReader
expected_err="$(prompt "Gantry Surface Scanner")installGantryScanner started
installGantryScanner ended
$(prompt "KX4 Reader Board")$(prompt "Standard Bulk-USB Driver")Could not start installBulkDriver.bat, error 2
$(prompt "Standard Serial-Bridge Drivers")installSerialBridge started
installSerialBridge ended
$(prompt "Morvish 2.3 Drivers")Could not start installZelbaImager.bat, error 2
$(prompt "Camera/Load Analyzer")installLoadViewer started
installLoadViewer ended
$(prompt "Basic Contour Reader Board")"
in=$(answers 'y\nn\n\nyes\nY\nYES\nno\n')
run_case "two buses in port order; y, n, Enter, yes; scripts beside the tool, missing, not executable, only in the working folder, on PATH" \
  "$in" "" "$expected_err"
run_case "arguments change nothing" "$in" "" "$expected_err" --help -n /dev/null "installKX4Reader.bat"

# --- The device list itself.
reset_tree
rm -rf /sys/bus/usb
run_case "no USB support at all: no output" /dev/null "" ""
reset_tree
rmdir "$list"
echo x >"$list"
run_case "a device list that cannot be read: the one error line" /dev/null "SetupDiGetClassDevs failed, error 20" ""

# --- Hostile devices: only the good one is offered.
reset_tree
reset_folders
script "$tool" installGantryScanner
device 1-1 a7c2 e1d0 0100
# Each bad device would otherwise be a Tarvex: a lenient read of any attribute brings a prompt.
bad=0
hostile() { device "3-$bad" a7c2 e1d1 0100; printf "$1" >"$pci/usb3/3-$bad/$2"; bad=$((bad + 1)); }
hostile '' bcdDevice
hostile '010\n' bcdDevice
hostile 'a7c21\n' idVendor
hostile 'zz00\n' bcdDevice
hostile 'e1d1\000\n' idProduct
hostile '0100\n\n' bcdDevice
hostile '' idVendor
yes a7c2 | head -c 1048576 >"$pci/usb3/3-$((bad - 1))/idVendor"  # 1 MiB that starts right
device 3-20 a7c2 e1d1 0100
rm "$pci/usb3/3-20/bcdDevice" && mkdir "$pci/usb3/3-20/bcdDevice"
ln -s 3-loop "$list/3-loop"
ln -s ../../../devices/nowhere "$list/3-dangling"
echo a7c2 >"$list/3-plain"
mkdir "$list/3-empty"
for i in $(seq 1 500); do device "4-$i" 1234 "$(printf '%04x' "$i")" 0100; done
run_case "hostile attributes and entries, 500 devices of no kind: only the good one is asked about" \
  "$(answers 'n\n')" "" "$(prompt "Gantry Surface Scanner")"

# --- Hostile input: an installer runs only after an explicit Yes.
reset_tree
device 1-1 a7c2 e1d0 0100
head -c 1048576 /dev/zero | tr '\0' 'y' >"$root/huge"
run_case "a 1 MiB line without a newline" "$root/huge" "" "$(prompt "Gantry Surface Scanner")"
run_case "control bytes, then the end of input" "$(answers '\001\002\003\n')" "" \
  "$(prompt "Gantry Surface Scanner")$(prompt "Gantry Surface Scanner")"
run_case "an Escape sequence is a No" "$(answers '\033[A\n')" "" "$(prompt "Gantry Surface Scanner")"
run_case "input ending mid-line" "$(answers 'ye')" "" "$(prompt "Gantry Surface Scanner")"
(cd "$work" && timeout 60 "$tool/usboffer" <&- >"$root/out" 2>"$root/err")
rc=$?
[ "$rc" -eq 0 ] && [ ! -s "$root/out" ] && [ "$(cat "$root/err")" = "$(prompt "Gantry Surface Scanner")" ]
report "input closed outright" "$([ $? -eq 0 ] || echo "  exit $rc, stdout $(cat "$root/out"), stderr $(cat "$root/err")")"

# Memory does not grow with the size of the input.
rss() { /usr/bin/time -o "$root/rss" -f %M "$tool/usboffer" <"$1" >/dev/null 2>&1; cat "$root/rss"; }
small=$(rss "$(answers 'n\n')") big=$(rss "$root/huge")
echo "peak RSS: $small KiB for one short answer, $big KiB for a 1 MiB line"
report "memory does not grow with a 1 MiB line" "$([ $((big - small)) -lt 256 ] || echo "  $small KiB vs $big KiB")"

summary e2e
