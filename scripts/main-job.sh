#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# The main job: installs and builds Tellmarin, then lets it handle a whole
# answered call from the sample address book in a temporary work folder with
# progress logging on: called (the contact shown), connect (the journal entry
# created, its timer running), finished (timer stopped, entry saved and
# closed), and then a called event for a number that two sample contacts
# share, which opens the contact choice window with a short countdown. It
# ends by printing what the call left in the local PIM store.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
[ "${TM_SKIP_INSTALL:-}" = 1 ] || "$here/scripts/install-deps.sh"
"$here/scripts/build.sh" build -DTM_BUILD_TESTS=OFF -DTM_BUILD_BENCH=OFF
bin="$here/build/bin"

run=$(mktemp -d /tmp/tellmarin-run.XXXXXX)
export TEMP="$run/temp" XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data"
export TELLMARIN_PIM="$run/data/pim.sqlite" TELLMARIN_AUTOANSWER=1 XDG_RUNTIME_DIR="$run/runtime"
mkdir -p "$TEMP" "$XDG_CONFIG_HOME/Orvensoft" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Progress logging on; the default contacts folder is indexed; incoming calls
# show the contact centred on the screen and are journaled; the journal entry
# opens maximised; the items close when the call ends; the choice window picks
# by itself after 2 seconds.
printf '[Tellmarin]\r\nDebug=1\r\nDefaultFolder=1\r\nInContact=1\r\nInJournal=1\r\nDisplayPosContact=1\r\nDisplayPosJournal=2\r\nJournalCallEnd=1\r\nAutoChoice=2\r\n' \
  >"$XDG_CONFIG_HOME/Orvensoft/Tellmarin.ini"

# A fresh local PIM store with the sample address book.
"$bin/tellmarin-pim" create
"$bin/tellmarin-pim" import-vcard "$here/data/sample-contacts.vcf"

# On a desktop (DISPLAY set) the viewer plays Outlook's visible part: the
# contact and the journal entry appear on the screen at their places. It
# stays open after the job; close it when done.
if [ -n "${DISPLAY:-}" ] && [ "${TM_NO_VIEWER:-}" != 1 ]; then
  echo "== tellmarin-viewer started on this job's store"
  TELLMARIN_AUTOANSWER=0 "$bin/tellmarin-viewer" >/dev/null 2>&1 &
  sleep 2
fi

# One event as the CTI client starts the program: event, number, call id.
event() {
  "$bin/tellmarin" "$2" "$2" 21 "Zentrale" 0 "$1" 0 "$(date '+%Y-%m-%d %H:%M:%S')" 0 1 \
    "$3" "U1001" "" "" "" "" "" "" ""
}
inspector() { # the window of the items whose subject or name holds $1, as the store records it
  "$bin/tellmarin-pim" dump-json | python3 -c '
import json, sys
for f in json.load(sys.stdin)["folders"]:
    for i in f.get("items", []):
        p = i.get("properties", {})
        name = p.get("Subject") or " ".join(filter(None, [p.get("FirstName"), p.get("LastName")]))
        if sys.argv[1] in name:
            print("   ", f["name"] + ":", name, "->", json.dumps(i.get("inspector", {})))
' "$1"
}

call=5F3A9C21-0001-4B7E
# An incoming call from Thomas Becker's business number is answered and,
# a minute later, ends.
echo "== called: Thomas Becker's contact is shown"
event called 03012345678 "$call"
inspector "Thomas Becker"
echo "== connect: the journal entry is created, its timer runs"
event connect 03012345678 "$call"
inspector "Anruf von"
sleep 1
echo "== finished: timer stopped, entry saved, both closed (JournalCallEnd=1)"
event finished 03012345678 "$call"
inspector "Anruf von"

# Klaus and Petra Wagner share their home number: the choice window opens
# and, after its 2-second countdown, takes the first (or the favourite) line.
shared=5F3A9C21-0002-4B7E
echo "== called: a number that two contacts share opens the choice window"
event called 0221987654 "$shared"
echo "   chosen: $(grep -a 'Contact-ID' "$TEMP/Tellmarin/$shared.call" || true)"

echo "== Per-call log of the answered call ($call.log)"
cat "$TEMP/Tellmarin/$call.log"
echo "== Per-call file ($call.call)"
cat "$TEMP/Tellmarin/$call.call"
echo "== Per-call log of the shared number ($shared.log)"
cat "$TEMP/Tellmarin/$shared.log"
echo "== Favourites (tlmOlfav.ini)"
cat "$TEMP/Tellmarin/tlmOlfav.ini" 2>/dev/null || echo "(none)"
echo "== The journal in the store: tellmarin-pim list Journal"
"$bin/tellmarin-pim" list Journal
echo "== The journal entry as JSON"
"$bin/tellmarin-pim" dump-json | python3 -c '
import json, sys
for f in json.load(sys.stdin)["folders"]:
    if f["name"] == "Journal":
        print(json.dumps(f.get("items", []), ensure_ascii=False, indent=2))
'
echo "== Program log (Tellmarin.log), last run"
tail -n 40 "$TEMP/Tellmarin/Tellmarin.log"
