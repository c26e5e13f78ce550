#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch root as the package does and checks what lands there: the
# exact list of files, the desktop file and metainfo as a software centre validates them (the
# metainfo pedantically too), the icon's sizes, the man pages, the libraries the headless
# programs link, and the completions tried on a few command lines.
# Usage: tst_install.sh BUILD_DIR
set -uo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null || {
    echo "FAIL: cmake --install" >&2
    exit 1
}
usr=$root/usr
id=com.quintrel.QNCF
sizes=(16 22 24 32 48 64 128 256)

# Nothing missing, nothing extra (no libraries, no test programs).
expected=(bin/qncf bin/qncf-cli bin/qnsim
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/qncf.1.gz share/man/man1/qncf-cli.1.gz share/man/man1/qnsim.1.gz
    share/doc/qncf/copyright share/doc/qncf/changelog.gz
    share/bash-completion/completions/qncf-cli share/bash-completion/completions/qnsim)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x$size/apps/$id.png"); done
# The manual, with every picture the build rendered.
expected+=(share/doc/qncf/manual/index.html share/doc/qncf/manual/manual.css)
for png in "$build"/doc/manual/images/*.png; do expected+=("share/doc/qncf/manual/images/${png##*/}"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) ||
    fail "the installed files are not the expected ones (< expected, > installed)"
for program in qncf qncf-cli qnsim; do
    [[ -x $usr/bin/$program ]] || fail "bin/$program is not executable"
done

# The command line and the simulator need no display: they link no windowing library.
for program in qncf-cli qnsim; do
    windowing=$(objdump -p "$usr/bin/$program" | awk '/NEEDED/ { print $2 }' | grep -E 'Qt6(Gui|Widgets|PrintSupport)')
    [[ -z $windowing ]] || fail "bin/$program links $windowing"
done

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
# Also finds the desktop file the metainfo launches.
appstreamcli validate-tree --no-net "$usr" >/dev/null || {
    appstreamcli validate-tree --no-net "$usr" >&2
    fail "appstreamcli validate-tree"
}
# Pedantically, no error and no warning; the notes (I:, P:) may stay. (The appstreamcli of
# Debian 12 has no tag for a missing screenshot, so none needs letting through.)
metainfo=$usr/share/metainfo/$id.metainfo.xml
report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1)
status=$?
if grep -q '^[EW]: ' <<<"$report" || ((status != 0)); then
    echo "$report" >&2
    fail "appstreamcli validate --pedantic"
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
grep -Eq "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$metainfo" ||
    fail "the metainfo names no release $version with its day"
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "the desktop file names another icon"

# A configuration file is of our type, whatever the case of its extension, and that type opens
# in qncf with the file.
if command -v update-mime-database >/dev/null; then
    update-mime-database "$usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
    type=application/x-qncf-configuration
    grep -q ":$type:\*\.qnc\$" "$usr/share/mime/globs2" || fail "no glob for *.qnc in the MIME database"
    grep -qx "MimeType=$type;" "$usr/share/applications/$id.desktop" || fail "the desktop file does not take $type"
    grep -qx "Exec=qncf %f" "$usr/share/applications/$id.desktop" || fail "the desktop file does not hand qncf the file"
fi

# Each PNG is as big as the folder it is in says: width and height from its IHDR chunk.
for size in "${sizes[@]}"; do
    png=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
    [[ $(head -c8 "$png" | od -An -tx1 | tr -d ' ') == 89504e470d0a1a0a && $w == "$size" && $h == "$size" ]] ||
        fail "$png is ${w}x$h, not ${size}x$size"
done

# What the build fills in from the project (the version, the release's day) is filled in.
for file in "$usr"/share/man/man1/*.1.gz "$usr"/share/doc/qncf/changelog.gz "$usr/share/metainfo/$id.metainfo.xml"; do
    zcat -f "$file" | grep -qE '@[A-Z_]+@' && fail "$file has an unreplaced @VARIABLE@"
done
for page in "$usr"/share/man/man1/*.1.gz; do
    problems=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
    [[ -z $problems ]] || fail "$page: $problems"
done

# The completions, run as bash runs them: the words so far, the last one being completed.
export PATH=$usr/bin:$PATH
files=$root/files
mkdir -p "$files" && touch "$files/plant.QNC" "$files/unit.bin"
complete_line() {
    bash -c '
        source "$1"; source "$2"; shift 2
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        "$(complete -p "$1" | sed "s/.*-F \([^ ]*\).*/\1/")" 2>/dev/null
        printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' _ \
        "$usr/share/bash-completion/completions/qncf-cli" "$usr/share/bash-completion/completions/qnsim" "$@"
}
check() {
    local expect=$1
    shift
    local got
    got=$(complete_line "$@")
    [[ $got == "$expect" ]] || fail "completing '$*': got '$got', expected '$expect'"
}
check "download" qncf-cli dow
check "who-active" qncf-cli who
check "--help --version" qncf-cli --
check "QN4000-PXA" qncf-cli show --model QN4000-P
check "QN4000-NGD" qncf-cli message --model qn4000-n
check "QN4000-TBQ" qncf-cli upload --model = qn4000-t
check "--force" qncf-cli upload --model QN4000-PXA --fo
check "--verify" qncf-cli download --v
check "COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8" qncf-cli flash --port COM
check "$files/plant.QNC" qncf-cli show --model QN4000-PXA "$files/pl"
check "" qncf-cli models ""
check "QN6000-XAJ" qnsim --model QN6000-X
check "noack none noxon" qnsim --fault no
check "115200" qnsim --baud 1152
check "$files/unit.bin" qnsim --eeprom "$files/u"
check "--pace --pc-node" qnsim --model QN4000-PXA --p

exit $((failures > 0))
