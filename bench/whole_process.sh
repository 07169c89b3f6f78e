#!/usr/bin/env bash
# The whole tool against the least work any scan can do, side by side on one simulated
# tree of 1,000 devices of no supported kind, in a private mount namespace; then its peak
# memory, and the CPU it uses while an installer runs.
# Usage: whole_process.sh BUILD_DIR [--check]   (as root; needs hyperfine and /usr/bin/time)
set -u
source "$(dirname "$0")/../tests/lib/suite.sh"
enter_mount_namespace "$0" "$@"

build=$(readlink -f "$1")
check=${2-}
mount -t tmpfs tmpfs /sys/bus && mount -t tmpfs tmpfs /sys/devices || exit 1
root=$(mktemp -d /tmp/usboffer-bench-XXXXXX)
trap 'rm -rf "$root"' EXIT
hub=/sys/devices/pci0000:00/0000:00:14.0/usb1
mkdir -p /sys/bus/usb/devices "$hub"
for i in $(seq 1 1000); do
  mkdir "$hub/1-$i" "$hub/1-$i/1-$i:1.0"
  printf '1234\n' >"$hub/1-$i/idVendor"
  printf '%04x\n' "$i" >"$hub/1-$i/idProduct"
  printf '0100\n' >"$hub/1-$i/bcdDevice"
  ln -s "../../../devices/pci0000:00/0000:00:14.0/usb1/1-$i" "/sys/bus/usb/devices/1-$i"
  ln -s "../../../devices/pci0000:00/0000:00:14.0/usb1/1-$i/1-$i:1.0" "/sys/bus/usb/devices/1-$i:1.0"
done

# Wall time on a shared two-core machine wanders by several percent between rounds, so a
# check gets up to three rounds of 100 runs each.
median() { grep -A30 "\"command\": \"$1\"" "$root/times.json" | grep -m1 '"median"' | grep -oE '[0-9.]+'; }
for round in 1 2 3; do
  hyperfine -N --warmup 10 --runs 100 --export-json "$root/times.json" \
    "$build/floor_scan" "$build/usboffer" >"$root/hyperfine.txt" 2>&1 || { cat "$root/hyperfine.txt"; exit 1; }
  grep -E 'Time \(mean' "$root/hyperfine.txt"
  floor=$(median "$build/floor_scan") tool=$(median "$build/usboffer")
  ratio=$(awk -v a="$tool" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
  printf 'median wall time over 1,000 devices: floor %.2f ms, usboffer %.2f ms, ratio %s\n' \
    "$(awk -v x="$floor" 'BEGIN{print x*1000}')" "$(awk -v x="$tool" 'BEGIN{print x*1000}')" "$ratio"
  [ "$check" = --check ] && awk -v r="$ratio" 'BEGIN { exit !(r > 1.10) }' || break
done

/usr/bin/time -o "$root/rss" -f %M "$build/usboffer" </dev/null >/dev/null 2>&1
rss=$(cat "$root/rss")
echo "peak resident memory over 1,000 devices: $rss KiB"

# One device of a supported kind whose installer sleeps two seconds and measures, from
# /proc, how much CPU the waiting tool used meanwhile.
mkdir -p "$hub/1-2000" "$root/tool"
printf 'a7c2\n' >"$hub/1-2000/idVendor"; printf 'e1d0\n' >"$hub/1-2000/idProduct"; printf '0100\n' >"$hub/1-2000/bcdDevice"
ln -s "../../../devices/pci0000:00/0000:00:14.0/usb1/1-2000" /sys/bus/usb/devices/1-2000
cp "$build/usboffer" "$root/tool/"
cat >"$root/tool/installGantryScanner.bat" <<'SCRIPT'
#!/bin/sh
read -r before _ </proc/$PPID/schedstat
sleep 2
read -r after _ </proc/$PPID/schedstat
[ "${before:-0}" -gt 0 ] && [ "${after:-0}" -ge "$before" ] && echo $((after - before)) >"$(dirname "$0")/cpu-ns"
SCRIPT
chmod 755 "$root/tool/installGantryScanner.bat"
echo y | "$root/tool/usboffer" >/dev/null 2>&1
cpu_ns=$(cat "$root/tool/cpu-ns" 2>/dev/null) || { echo "FAIL: the installer could not read the tool's CPU time"; exit 1; }
echo "CPU used by usboffer during a 2-second installer: $((cpu_ns / 1000)) us"

if [ "$check" = --check ]; then
  ok=1
  awk -v r="$ratio" 'BEGIN { exit !(r <= 1.10) }' || { echo "FAIL: ratio $ratio above 1.10"; ok=0; }
  [ "$rss" -lt 4096 ] || { echo "FAIL: peak memory $rss KiB, 4 MiB at most"; ok=0; }
  [ "$cpu_ns" -lt 10000000 ] || { echo "FAIL: $cpu_ns ns of CPU while waiting, under 10 ms"; ok=0; }
  [ "$ok" = 1 ] && echo "PASS: within the performance goals"
  [ "$ok" = 1 ]
fi
