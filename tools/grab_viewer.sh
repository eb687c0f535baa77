#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's pictures of tellmarin-viewer under a real X server
# (Xvfb, 1280x800): the sample address book in a fresh store, the viewer
# running, then a call from Thomas Becker's business number: "called" shows
# his contact, "connect" the journal entry with its running timer.
# Usage: tools/grab_viewer.sh [OUTPUT FOLDER] (default docs/images), after a build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "${1:-$here/docs/images}" && pwd)
if [ -z "${TM_IN_XVFB:-}" ]; then
  TM_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$out"
fi
bin="$here/build/bin"
run=$(mktemp -d /tmp/tellmarin-grab.XXXXXX)
export TEMP="$run/temp" XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data"
export TELLMARIN_PIM="$run/data/pim.sqlite" QT_QPA_PLATFORM=xcb TELLMARIN_AUTOANSWER=1
mkdir -p "$TEMP" "$XDG_CONFIG_HOME/Orvensoft" "$XDG_DATA_HOME"
printf '[Tellmarin]\r\nDefaultFolder=1\r\nInContact=1\r\nInJournal=1\r\nDisplayPosContact=4\r\nDisplayPosJournal=3\r\n' \
  >"$XDG_CONFIG_HOME/Orvensoft/Tellmarin.ini"
"$bin/tellmarin-pim" create >/dev/null
"$bin/tellmarin-pim" import-vcard "$here/data/sample-contacts.vcf" >/dev/null
"$bin/tellmarin-viewer" 2>/dev/null &
viewer=$!
trap 'kill $viewer 2>/dev/null; rm -rf "$run"' EXIT
sleep 2
event() {
  "$bin/tellmarin" 03012345678 03012345678 21 Zentrale 0 "$1" 0 "$(date '+%Y-%m-%d %H:%M:%S')" 0 1 \
    5F3A9C21-0001-4B7E U1 "" "" "" "" "" "" "" 2>/dev/null
}
event called
sleep 1
"$bin/grab_screen" "$out/viewer-contact.png"
event connect
sleep 3
"$bin/grab_screen" "$out/viewer-journal.png"
echo "$out/viewer-contact.png"
echo "$out/viewer-journal.png"
