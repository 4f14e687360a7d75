#!/usr/bin/env bash
# The Debian package from a build folder: its name, contents and dependencies, lintian without
# errors, a valid desktop entry and AppStream metadata, and one start of the program from the
# extracted package with a fresh home, which makes the user's copy of the catalogue and ends with
# status 0 when its window is asked to close.
#   package_test.sh BUILD_DIR VERSION WORK_DIR [CPACK]
set -uo pipefail
. "$(dirname "$0")/../support/exit_status.sh"
. "$(dirname "$0")/../support/x_server.sh"
build=$1 version=$2 work=$3 cpack=${4:-cpack}
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
finish() {
    [ -n "${program:-}" ] && kill -KILL "$program" 2>/dev/null
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    if [ "$failures" -eq 0 ]; then echo "package test passed"; exit 0; fi
    echo "$failures failure(s)"; exit 1
}

rm -rf "$work" && mkdir -p "$work"
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack -G DEB"
    finish
fi
deb="$work/out/talvino_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { fail "no package named $(basename "$deb"): $(ls "$work/out")"; finish; }
echo "package: $deb"

# Contents: every part of the install, and the shipped catalogue read-only.
listing=$(dpkg-deb -c "$deb")
for path in usr/bin/talvino usr/bin/talvino-catalogue usr/share/talvino/catalogue/talvino2006_db.cdb \
    usr/share/applications/example.talvino_weinfuehrer.talvino.desktop \
    usr/share/metainfo/example.talvino_weinfuehrer.talvino.metainfo.xml \
    usr/share/man/man1/talvino.1.gz usr/share/man/man1/talvino-catalogue.1.gz \
    usr/share/doc/talvino/copyright usr/share/doc/talvino/changelog.gz \
    usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/talvino.png; do
    grep -q " \./$path\$" <<<"$listing" || fail "the package lacks /$path"
done
grep -q '^-r--r--r-- .* \./usr/share/talvino/catalogue/talvino2006_db.cdb$' <<<"$listing" ||
    fail "the shipped catalogue is not read-only"
if grep -v ' \./usr/' <<<"$listing" | grep -q .; then fail "files outside /usr"; fi

# Dependencies: the libraries the programs link, the font the screens are drawn with, and Qt's
# Wayland plugin for phones and tablets.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in fonts-wine qt6-wayland libqt6widgets6 libqt6gui6 libqt6core6 libsqlite3-0 libc6; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
done

lintian_output=$(lintian --fail-on error "$deb" 2>&1)
lintian_status=$?
echo "lintian:"
grep -v 'running with root privileges' <<<"$lintian_output"
[ "$lintian_status" = 0 ] || fail "lintian reports errors"

root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
# What phone app stores read: touch, keyboard and pointer, and the smallest screen it fits.
for declared in '<control>touch</control>' '<control>keyboard</control>' '<control>pointing</control>' \
    '<display_length compare="ge" side="shortest">240</display_length>'; do
    grep -qF "$declared" "$root"/usr/share/metainfo/*.metainfo.xml || fail "the AppStream metadata lacks $declared"
done
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
done
"$root/usr/bin/talvino-catalogue" verify "$root/usr/share/talvino/catalogue/talvino2006_db.cdb" >/dev/null ||
    fail "the shipped catalogue does not verify"

# One start as a new user, on an X server of the test's own: the copy appears, and the program ends
# with status 0 when its window is asked to close the way a window manager asks.
home="$work/home"
mkdir -p "$home" "$work/runtime"
chmod 700 "$work/runtime"
copy="$home/.local/share/talvino/talvino2006_db.cdb"
start_x_server "$work" || { fail "Xvfb did not start: $(cat "$work/xvfb.log")"; finish; }
env -u XDG_DATA_HOME HOME="$home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "$root/usr/bin/talvino" >"$work/talvino.log" 2>&1 &
program=$!
for _ in $(seq 1 100); do
    [ -f "$copy" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if [ -f "$copy" ]; then
    cmp -s "$copy" "$root/usr/share/talvino/catalogue/talvino2006_db.cdb" || fail "the user's copy differs from the shipped catalogue"
else
    fail "the first start made no copy at $copy"
fi
"$(dirname "$0")/close_window.py" Talvino 10 || fail "the program's window could not be asked to close"
exit_status_within "$program" 50
program=
[ "$status" = 0 ] || fail "the program did not end with status 0 within 5 s of the close (status ${status:-still running}); its output:
$(cat "$work/talvino.log")"
finish
