# Shared by the command-line tests: sourced after setting qpn=$1.
# Gives a temporary root folder removed at exit, and fail/check that count failures.
set -u
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() { # what expected actual
    [ "$2" = "$3" ] || fail "$1
  expected: $2
  actual:   $3"
}
