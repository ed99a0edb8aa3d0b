#!/bin/bash
# Installs the build into a folder of its own, under a umask that lets nobody else
# read, and checks what the installation holds: each file in its place with its
# mode, icons of the size that their folders name, a menu entry and metadata that
# validate and agree with each other, and the project's version in every document.
# usage: installed-tree.sh BUILD_DIR SOURCE_DIR VERSION OUTPUT_DIR
set -euo pipefail
build=$1
source=$2
version=$3
output=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$output"
mkdir -p "$output"
prefix=$output/usr
(umask 077 && cmake --install "$build" --prefix "$prefix" >"$output/install.log")

app_id=com.velquist.Kestrava
expected="644 share/applications/$app_id.desktop
644 share/doc/kestrava/changelog.gz
644 share/doc/kestrava/copyright
644 share/icons/hicolor/16x16/apps/kestrava.png
644 share/icons/hicolor/256x256/apps/kestrava.png
644 share/icons/hicolor/32x32/apps/kestrava.png
644 share/icons/hicolor/48x48/apps/kestrava.png
644 share/kestrava/HAND-M.CUR
644 share/man/man1/kestrava-log.1.gz
644 share/man/man1/kestrava.1.gz
644 share/metainfo/$app_id.metainfo.xml
755 bin/kestrava
755 bin/kestrava-log"
actual=$(cd "$prefix" && find . -type f -printf '%m %P\n' | LC_ALL=C sort)
[ "$actual" = "$(LC_ALL=C sort <<<"$expected")" ] ||
    fail "the installation holds, with modes:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"

for icon in "$prefix"/share/icons/hicolor/*/apps/kestrava.png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    size=$(identify -format '%wx%h' "$icon")
    [ "$size" = "$folder" ] || fail "$icon is $size pixels"
done

desktop=$prefix/share/applications/$app_id.desktop
report=$(desktop-file-validate "$desktop") || fail "desktop-file-validate: $report"
if grep -E 'error:|warning:' <<<"$report"; then
    fail "desktop-file-validate found faults in $desktop"
fi
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $report"

value() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(value Exec)" = kestrava ] || fail "the menu entry starts '$(value Exec)'"
[ "$(value Icon)" = kestrava ] || fail "the menu entry shows the icon '$(value Icon)'"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metadata doesn't name the menu entry $app_id.desktop"

newest_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$newest_release" = "$version" ] ||
    fail "the metadata's newest release is $newest_release, the project's version $version"
changelog_head=$(zcat "$prefix/share/doc/kestrava/changelog.gz" | head -n 1)
[[ "$changelog_head" == "kestrava ($version) "* ]] ||
    fail "the changelog begins with '$changelog_head', not version $version"

# The copyright file carries the licence word for word.
licence=$(sed -n '/^License: Expat$/,$p' "$prefix/share/doc/kestrava/copyright" |
    tail -n +2 | sed 's/^ //; s/^\.$//')
[ "$licence" = "$(sed -n '/^Permission is hereby granted/,$p' "$source/LICENSE")" ] ||
    fail "the copyright file's licence differs from LICENSE"
echo "installed tree: $(wc -l <<<"$actual") files in $prefix"
