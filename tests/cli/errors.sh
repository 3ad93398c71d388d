#!/usr/bin/env bash
# Bad input ends with one clear line on standard error and status 1; rows already written stay.
set -uo pipefail
umbrix="$1"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
expect_error() {  # expect_error PATTERN ARGS...
  local pattern="$1"; shift
  "$umbrix" --now "21.6.2026 9:00" "$@" > "$tmp/out" 2> "$tmp/err"
  local rc=$?
  [ $rc -eq 1 ] || fail "$*: status $rc"
  [ "$(wc -l < "$tmp/err")" -eq 1 ] || fail "$*: expected one line, got: $(cat "$tmp/err")"
  grep -q '^umbrix: error: ' "$tmp/err" || fail "$*: no prefix: $(cat "$tmp/err")"
  grep -q -- "$pattern" "$tmp/err" || fail "$*: '$pattern' not in: $(cat "$tmp/err")"
}
expect_error 'did you mean --output' --outptu x.txt
expect_error 'did you mean EditTa' --set EditTaa=20
expect_error 'ComboSex has no item "x"' --set ComboSex=x
expect_error '"abc".*EditDefVal' --set EditDefVal=abc
expect_error 'did you mean Freiburg' --location Freiburgg
expect_error '--now' --now "tomorrow"
expect_error '--mode takes' --mode bars
expect_error 'A&dd' --add
expect_error 'session: cannot open ".*none.ini": No such file or directory' --session "$tmp/none.ini"
# the first table stays when a later command fails
"$umbrix" --now "21.6.2026 9:00" --new --set EditDefVal=abc --add > "$tmp/out" 2> "$tmp/err"
[ $? -eq 1 ] || fail "late failure: status"
[ "$(wc -l < "$tmp/out")" -eq 9 ] || fail "late failure: the rows written before are lost"
grep -q 'EditDefVal' "$tmp/err" || fail "late failure: message"
"$umbrix" --help > "$tmp/out" || fail "--help status"
for opt in --set --mode --lang --now --locations --location --session --output --new --add --save; do
  grep -q -- "$opt" "$tmp/out" || fail "--help lacks $opt"
done
echo "errors: ok"
