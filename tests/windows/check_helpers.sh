# What the wine check scripts share, sourced after `set -eu`: each check
# prints "ok NAME" or "FAILED NAME" with what differed, and the script ends
# with all_passed, which fails when any check did.
failures=0

fail() {  # NAME (and why)
  echo "FAILED $1"
  failures=$((failures + 1))
}

# expect NAME WANTED GOT: equal texts. A failure also shows the file that
# $check_errors names, when it is set.
expect() {
  if [ "$2" = "$3" ]; then
    echo "ok $1"
    return 0
  fi
  printf 'FAILED %s\n--- wanted\n%s\n--- got\n%s\n' "$1" "$2" "$3"
  if [ -n "${check_errors:-}" ]; then
    echo "--- stderr"
    cat "$check_errors"
  fi
  failures=$((failures + 1))
}

same() {  # NAME FILE FILE: the same bytes
  if cmp -s "$2" "$3"; then
    echo "ok $1"
    return 0
  fi
  fail "$1: $2 and $3 differ"
  diff "$2" "$3" | head -20 || true
}

same_image() {  # NAME FILE FILE: made, and the same bytes
  if [ -s "$2" ] && cmp -s "$2" "$3"; then echo "ok $1"; else fail "$1: $2 and $3 differ or are missing"; fi
}

absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }

all_passed() { [ "$failures" -eq 0 ]; }
