#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when the committed translations/qncf.ts is stale: lupdate, run on the sources as they
# are, finds texts (with their contexts and translators' comments) that the template lacks,
# or the template still holds texts the sources no longer have. "make translations" brings
# it up to date. Also checks that it is a template: English sources, no language of its own.
# Usage: tst_template.sh LUPDATE LCONVERT TEMPLATE LUPDATE-ARGUMENTS...
set -euo pipefail
lupdate=$1 lconvert=$2 template=$3
shift 3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ -f "$template" ] || fail "$template is missing; run 'make translations'"
grep -q '^<TS version="[0-9.]*" sourcelanguage="en">$' "$template" ||
  fail "$template should name English as its source language and no language of its own"

"$lupdate" -silent "$@" -ts "$scratch/current.ts"

# One line per text: its context, source and comment, as the .po form spells them.
messages() {
  "$lconvert" -i "$1" -of po | awk '
    function flush() {
      if (id != "" && id != "\"\"") print ctx "\t" id "\t" note
      ctx = id = note = field = ""
    }
    /^$/        { flush(); next }
    /^#\. /     { note = note substr($0, 4); next }
    /^msgctxt / { ctx = substr($0, 9); field = "ctx"; next }
    /^msgid /   { id = substr($0, 7); field = "id"; next }
    /^msgstr /  { field = ""; next }
    /^"/        { if (field == "id") id = id $0; else if (field == "ctx") ctx = ctx $0; next }
    END         { flush() }' | LC_ALL=C sort
}
messages "$template" >"$scratch/committed"
messages "$scratch/current.ts" >"$scratch/current"
[ -s "$scratch/current" ] || fail "lupdate found no texts in the sources"

if ! diff -u "$scratch/committed" "$scratch/current" >"$scratch/diff"; then
  echo "FAIL: $template is stale; run 'make translations' and commit it." >&2
  echo "Lines with + are in the sources only, lines with - in the template only:" >&2
  tail -n +3 "$scratch/diff" | grep '^[-+]' >&2
  exit 1
fi
echo "PASS: $template holds the $(wc -l <"$scratch/current") texts the sources offer"
