#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb from the build's own programs as make package does, into a scratch folder, and
# holds it to what a packager checks: lintian --pedantic finds no error and no warning (its info
# and pedantic notes are shown), hardening-check passes on each program, and the changelog names
# the version the package has. A tool that is not installed is left out, and with neither the
# test is skipped; scripts/install-deps installs both.
# Usage: tst_package.sh BUILD_DIR
set -uo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

have_lintian=$(command -v lintian)
have_hardening_check=$(command -v hardening-check)
if [[ -z $have_lintian && -z $have_hardening_check ]]; then
    echo "SKIP: neither lintian nor hardening-check is installed (scripts/install-deps)"
    exit 77
fi

(cd "$build" && cpack -G DEB -B "$out") >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
}
debs=("$out"/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || {
    echo "FAIL: cpack made ${debs[*]}, not one .deb" >&2
    exit 1
}
deb=${debs[0]}
root=$out/root
dpkg-deb -x "$deb" "$root"

version=$(dpkg-deb --field "$deb" Version)
changelog_version=$(zcat "$root/usr/share/doc/qncf/changelog.gz" | sed -n '1s/^qncf (\([^)]*\)).*/\1/p')
[[ $version == "$changelog_version" ]] ||
    fail "the package is version '$version', its changelog's latest entry '$changelog_version'"

if [[ -n $have_lintian ]]; then
    # Exit status 1 for an error or a warning, 2 when lintian itself fails.
    echo "lintian --pedantic --display-info:"
    lintian --pedantic --display-info --tag-display-limit 0 --fail-on error,warning "$deb" || fail "lintian"
else
    echo "lintian is not installed: the package's lintian check is left out"
fi

# hardening-check's control-flow check looks for the CET marks, which the start files of Debian
# 12 (crt1.o) lack, so no program linked there has them: it is left out. Its fortify check sees
# only the calls checked at run time, and where the compiler proved every call safe (qncf-cli's
# all have sizes known when compiled) it says "only unprotected functions found"; then every
# source the build compiled must have been fortified.
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
all_fortified() {
    local commands
    commands=$(grep '"command"' "$build/compile_commands.json" | grep -F -- " -c $source_dir/src/")
    [[ -n $commands ]] && ! grep -qv -- ' -D_FORTIFY_SOURCE=' <<<"$commands"
}
if [[ -n $have_hardening_check ]]; then
    for program in qncf qncf-cli qnsim; do
        binary=$root/usr/bin/$program
        hardening-check --nocfprotection "$binary" && continue
        if hardening-check --nocfprotection --nofortify --quiet "$binary" && all_fortified; then
            echo "$program: fortified, though no call is left to check at run time"
        else
            fail "hardening-check $program"
        fi
    done
else
    echo "hardening-check is not installed: the programs' hardening check is left out"
fi

exit $((failures > 0))
