# Shared by the shell suites (sourced): PASS/FAIL lines with a closing count, and the
# private mount namespace that the suites over a simulated /sys run in.

passed=0
failed=0

# report NAME PROBLEMS: a PASS line when PROBLEMS is empty, else FAIL and the problems.
report() {
  if [ -z "$2" ]; then
    echo "PASS: $1"
    passed=$((passed + 1))
  else
    printf 'FAIL: %s\n%s\n' "$1" "${2%$'\n'}"
    failed=$((failed + 1))
  fi
}

# verdict NAME STATUS: PASS when the exit status is 0.
verdict() { report "$1" "$([ "$2" -eq 0 ] || echo "  exit status $2")"; }

# summary LABEL: the closing line, and a failing status when any case failed.
summary() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# enter_mount_namespace SCRIPT ARGS...: runs the script again inside a private mount
# namespace, where it may mount over /sys. Needs root; skips elsewhere, never under CI.
enter_mount_namespace() {
  [ -n "${USBOFFER_IN_NAMESPACE:-}" ] && return 0
  if [ "$(id -u)" -ne 0 ] || ! unshare --mount --propagation private true 2>/dev/null; then
    [ "${CI:-}" = true ] && { echo "FAIL: needs root and a mount namespace"; exit 1; }
    echo "SKIP: needs root and a mount namespace"
    exit 77
  fi
  exec env USBOFFER_IN_NAMESPACE=1 unshare --mount --propagation private bash "$@"
}
