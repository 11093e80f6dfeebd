#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks that a desktop finds everything there: the
# programs, a valid desktop entry for each program that has one (its Exec and Icon installed
# too), the icon, and the MIME type of condition files (*.czd).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/zt300ctl bin/plotview bin/zt300sim share/icons/hicolor/scalable/apps/zt300ctl.svg \
    share/mime/packages/zt300ctl.xml share/applications/zt300ctl.desktop \
    share/applications/plotview.desktop; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done

for entry in "$prefix"/share/applications/*.desktop; do
    desktop-file-validate "$entry"
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -x "$prefix/bin/$program" ] || { echo "$entry starts $program, not installed" >&2; exit 1; }
    [ -e "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        { echo "$entry shows icon $icon, not installed" >&2; exit 1; }
done

XDG_DATA_DIRS="$prefix/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" update-mime-database "$prefix/share/mime"
grep -qx 'application/x-zt300-condition:\*\.czd' "$prefix/share/mime/globs" ||
    { echo "*.czd is not a condition file to the MIME database" >&2; exit 1; }
echo "installed layout checked in $prefix"
