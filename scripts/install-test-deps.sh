#!/usr/bin/env bash
# Installs, with apt-get and only when missing, what the test suites need.
set -euo pipefail

missing=()
need() { [ -e "$1" ] || command -v "$1" >/dev/null 2>&1 || missing+=("$2"); }
need cmake cmake
need g++ g++
need /usr/include/gtest/gtest.h libgtest-dev
need i686-w64-mingw32-g++ g++-mingw-w64-i686
need x86_64-w64-mingw32-g++ g++-mingw-w64-x86-64
need /usr/lib/wine/wine64 wine64
need /usr/lib/wine/wine wine32:i386
need /usr/bin/wine wine
need Xvfb xvfb
need /usr/include/benchmark/benchmark.h libbenchmark-dev
need clang++ clang
need /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
need hyperfine hyperfine
need /usr/bin/time time
need unshare util-linux

[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "installing: ${missing[*]}"
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
