#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Tellmarin with a CardDAV/CalDAV server: starts a local Radicale, fills its
# address book "Adressbuch" with the sample address book over HTTP and gives
# it a journal calendar "Anrufjournal". tellmarin-pim sets up the account;
# an answered call from Thomas Becker finds him among the server's contacts,
# and after a sync the call's journal entry is fetched from the server and
# printed. Everything lives in a temporary folder that is removed at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
[ "${TM_SKIP_INSTALL:-}" = 1 ] || "$here/scripts/install-deps.sh"
bin="$here/build/bin"
[ -x "$bin/tellmarin" ] && [ -x "$bin/tellmarin-pim" ] ||
  "$here/scripts/build.sh" build -DTM_BUILD_TESTS=OFF -DTM_BUILD_BENCH=OFF

run=$(mktemp -d /tmp/tellmarin-dav.XXXXXX)
export TEMP="$run/temp" XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data"
export TELLMARIN_PIM="$run/data/pim.sqlite" TELLMARIN_AUTOANSWER=1 QT_QPA_PLATFORM=offscreen
# The password goes to the 0600 file of this folder, not to the desktop's keyring.
export XDG_RUNTIME_DIR="$run/runtime"
unset DBUS_SESSION_BUS_ADDRESS
mkdir -p "$TEMP" "$XDG_CONFIG_HOME/Orvensoft" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

echo "== Radicale on 127.0.0.1, user u"
"$here/scripts/dav-server.sh" radicale "$run/dav" --user u --password demo >"$run/port" &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$run"' EXIT
until [ -s "$run/port" ]; do sleep 0.1; done
base="http://127.0.0.1:$(head -1 "$run/port")"
dav() { curl -sS -u u:demo "$@"; }
until dav -o /dev/null "$base/" 2>/dev/null; do sleep 0.2; done

collection() { # path, display name, resource type and properties
  dav -f -X MKCOL -H 'Content-Type: application/xml; charset=utf-8' "$base$1" --data \
"<?xml version=\"1.0\"?><D:mkcol xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\" \
xmlns:CR=\"urn:ietf:params:xml:ns:carddav\"><D:set><D:prop><D:resourcetype><D:collection/>$3\
</D:resourcetype><D:displayname>$2</D:displayname>$4</D:prop></D:set></D:mkcol>"
}
collection /u/adressbuch/ Adressbuch '<CR:addressbook/>' ''
collection /u/anrufjournal/ Anrufjournal '<C:calendar/>' \
  '<C:supported-calendar-component-set><C:comp name="VJOURNAL"/></C:supported-calendar-component-set>'

echo "== The sample address book, one PUT per vCard"
# Some sample cards are vCard 2.1, which Radicale does not read: a scratch
# store turns them into vCard 3.0; each card gets a UID and a file of its own.
scratch=(--store "$run/scratch.sqlite")
"$bin/tellmarin-pim" "${scratch[@]}" create >/dev/null
"$bin/tellmarin-pim" "${scratch[@]}" import-vcard "$here/data/sample-contacts.vcf" >/dev/null
mkdir "$run/cards"
"$bin/tellmarin-pim" "${scratch[@]}" export-vcard - |
  awk -v dir="$run/cards" '/^BEGIN:VCARD/ { n++; file = sprintf("%s/sample-%02d.vcf", dir, n) }
    { sub(/\r$/, ""); printf "%s\r\n", $0 > file }
    /^VERSION:/ { printf "UID:sample-%02d\r\n", n > file }'
for card in "$run/cards"/*.vcf; do
  dav -f -T "$card" -H 'Content-Type: text/vcard; charset=utf-8' \
    -H 'If-None-Match: *' "$base/u/adressbuch/$(basename "$card")"
done
echo "   $(ls "$run/cards" | wc -l) contacts on the server"

echo "== tellmarin-pim: a store, the account \"Büro\", a sync"
printf 'demo\n' >"$run/password"
"$bin/tellmarin-pim" create
"$bin/tellmarin-pim" add-account "$base/" --user u --password-file "$run/password" --name Büro
"$bin/tellmarin-pim" accounts

# The server's address book is the indexed contact folder, its calendar the
# journal folder; answered calls are journaled and closed at the end.
reference() { # "EntryID|StoreID" of the folder named $1
  "$bin/tellmarin-pim" dump-json | python3 -c '
import json, sys
for f in json.load(sys.stdin)["folders"]:
    if f["name"] == sys.argv[1]:
        print(f["EntryID"] + "|" + f["StoreID"])' "$1"
}
printf '[Tellmarin]\r\nFolders=1\r\nFolderID1=%s\r\nFolderJournal=%s\r\nInContact=1\r\nInJournal=1\r\nJournalCallEnd=1\r\n' \
  "$(reference Adressbuch)" "$(reference Anrufjournal)" >"$XDG_CONFIG_HOME/Orvensoft/Tellmarin.ini"

echo "== An answered call from Thomas Becker (03012345678)"
call=DAV-DEMO-0001
for event in called connect finished; do
  "$bin/tellmarin" 03012345678 03012345678 21 Zentrale 0 "$event" 0 \
    "$(date '+%Y-%m-%d %H:%M:%S')" 0 1 "$call" U1001 "" "" "" "" "" "" ""
done
"$bin/tellmarin-pim" list '\\Büro\Anrufjournal'

echo "== tellmarin-pim sync"
"$bin/tellmarin-pim" sync

echo "== The journal entry as the server holds it"
for href in $(dav -X PROPFIND -H 'Depth: 1' "$base/u/anrufjournal/" |
              grep -o '/u/anrufjournal/[^<]*\.ics'); do
  dav "$base$href" | tr -d '\r'
done
