#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a built tree (default: build), checks its
# file list and lets Debian's lintian check it (any error or warning fails,
# unless the package overrides it with a reason), installs it on this
# machine (as root, with its dependencies), checks its manual pages and lets
# the installed tellmarin handle a call on a store that the installed
# tellmarin-pim fills with the sample address book.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir="$here/${1:-build}"
rm -f "$dir"/tellmarin_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tellmarin_*.deb)

listing=$(dpkg-deb -c "$deb")
for f in ./usr/bin/tellmarin ./usr/bin/tellmarin-pim ./usr/bin/tellmarin-viewer \
  ./usr/lib/tellmarin/tellmarin ./usr/lib/tellmarin/tellmarin-viewer \
  ./usr/share/applications/tellmarin-viewer.desktop \
  ./etc/xdg/autostart/tellmarin-viewer.desktop \
  ./usr/lib/tellmarin/tellmarin-pim ./usr/lib/tellmarin/tlLand.txt \
  ./usr/lib/tellmarin/tlVorwahlen.txt ./usr/lib/tellmarin/tlOl.png \
  ./usr/lib/tellmarin/Tellmarin-Handbuch.pdf \
  ./usr/share/applications/tellmarin-einstellungen.desktop \
  ./usr/share/icons/hicolor/48x48/apps/tellmarin.png \
  ./usr/share/doc/tellmarin/copyright ./usr/share/doc/tellmarin/changelog.gz \
  ./usr/share/man/man1/tellmarin.1.gz ./usr/share/man/man1/tellmarin-pim.1.gz \
  ./usr/share/man/man1/tellmarin-viewer.1.gz; do
  grep -q " $f\( \|$\)" <<<"$listing" || { echo "package lacks $f" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q libqt6widgets6 <<<"$depends" || { echo "package declares no Qt dependency" >&2; exit 1; }
for lib in libical3 libqt6keychain1; do
  grep -q "$lib" <<<"$depends" || { echo "package does not depend on $lib" >&2; exit 1; }
done
# The viewer starts in every desktop session; the user can turn it off.
autostart=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./etc/xdg/autostart/tellmarin-viewer.desktop)
grep -qx 'Exec=tellmarin-viewer --autostart' <<<"$autostart" && grep -qx 'X-GNOME-Autostart-enabled=true' <<<"$autostart" ||
  { echo "the autostart entry does not start the viewer" >&2; exit 1; }
grep -qx /etc/xdg/autostart/tellmarin-viewer.desktop <<<"$(dpkg-deb -I "$deb" conffiles)" ||
  { echo "the autostart entry is not a configuration file" >&2; exit 1; }
grep -q qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)" ||
  { echo "package does not recommend Qt's German translations" >&2; exit 1; }

lintian --fail-on error,warning --tag-display-limit 0 "$deb" ||
  { echo "lintian finds errors or warnings in the package" >&2; exit 1; }

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q --reinstall "$deb" >/dev/null
for page in tellmarin tellmarin-pim tellmarin-viewer; do
  shown=$(MANPAGER=cat man "$page" 2>/dev/null || true)
  grep -q "^NAME" <<<"$shown" || { echo "man $page shows no page" >&2; exit 1; }
done

run=$(mktemp -d /tmp/tellmarin-pkg.XXXXXX)
trap 'rm -rf "$run"' EXIT
export TEMP="$run/temp" XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data"
export TELLMARIN_PIM="$run/data/pim.sqlite" TELLMARIN_AUTOANSWER=1 QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$run/runtime"
mkdir -p "$TEMP" "$XDG_CONFIG_HOME/Orvensoft" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Tellmarin]\r\nDebug=1\r\nDefaultFolder=1\r\nInContact=1\r\nDisplayPosContact=1\r\n' \
  >"$XDG_CONFIG_HOME/Orvensoft/Tellmarin.ini"
/usr/bin/tellmarin-pim create
/usr/bin/tellmarin-pim import-vcard /usr/lib/tellmarin/sample-contacts.vcf >/dev/null
/usr/bin/tellmarin 03012345678 03012345678 21 Zentrale 0 called 0 "2026-12-07 10:00:00" 0 1 \
  PKG-0001-TEST U1 "" "" "" "" "" "" ""
grep -q "Contact-ID=" "$TEMP/Tellmarin/PKG-0001-TEST.call" ||
  { echo "the installed tellmarin did not find the caller" >&2; exit 1; }
# (the whole dump first: grep -q ending early would break the pipe)
dump=$(/usr/bin/tellmarin-pim dump-json)
grep -q '"open": true' <<<"$dump" ||
  { echo "the caller's contact was not shown" >&2; exit 1; }
/usr/bin/tellmarin --version
echo "package $(basename "$deb"): installed, call handled"
