#!/bin/sh
# The shipped binary on whatever this machine has: the same output and exit code
# with or without arguments, and never more than the one error line on stdout.
tool=$1
plain=$("$tool" </dev/null 2>/dev/null); plain_rc=$?
args=$("$tool" --help -y /nonexistent "a b" </dev/null 2>/dev/null); args_rc=$?
[ "$plain_rc" = 0 ] && [ "$args_rc" = 0 ] || { echo "exit codes $plain_rc, $args_rc"; exit 1; }
[ "$plain" = "$args" ] || { echo "output differs: '$plain' vs '$args'"; exit 1; }
[ "$(printf '%s' "$plain" | wc -l)" -le 1 ] || { echo "more than one line: $plain"; exit 1; }
echo "exit 0, same output: '$plain'"
