#!/usr/bin/env bash
# The main job: installs and builds Tellmarin, then lets it handle a "called"
# event in a temporary work folder with progress logging on, and shows the
# last-call log and the program log.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" build -DTM_BUILD_TESTS=OFF -DTM_BUILD_BENCH=OFF
bin="$here/build/bin"

run=$(mktemp -d /tmp/tellmarin-run.XXXXXX)
export TEMP="$run/temp" XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data"
export TELLMARIN_PIM="$run/data/pim.sqlite" TELLMARIN_AUTOANSWER=1 XDG_RUNTIME_DIR="$run/runtime"
mkdir -p "$TEMP" "$XDG_CONFIG_HOME/Orvensoft" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Progress logging on; the default contacts folder is indexed.
printf '[Tellmarin]\r\nDebug=1\r\nDefaultFolder=1\r\n' >"$XDG_CONFIG_HOME/Orvensoft/Tellmarin.ini"

# A fresh local PIM store with the sample address book.
"$bin/tellmarin-pim" create
"$bin/tellmarin-pim" import-vcard "$here/data/sample-contacts.vcf"

# An incoming call from Thomas Becker's business number, as the CTI client
# starts the program.
"$bin/tellmarin" 03012345678 03012345678 21 "Zentrale" 0 called 0 "$(date '+%Y-%m-%d %H:%M:%S')" 0 1 \
  "5F3A9C21-0001-4B7E" "U1001" "" "" "" "" "" "" ""

echo "== Work folder: $TEMP/Tellmarin"
ls -l "$TEMP/Tellmarin"
echo "== Last-call log (tlmLastCall.log)"
cat "$TEMP/Tellmarin/tlmLastCall.log"
echo "== Program log (Tellmarin.log)"
cat "$TEMP/Tellmarin/Tellmarin.log"
echo "== Per-call log (5F3A9C21-0001-4B7E.log)"
cat "$TEMP/Tellmarin/5F3A9C21-0001-4B7E.log"
echo "== Per-call file (5F3A9C21-0001-4B7E.call)"
cat "$TEMP/Tellmarin/5F3A9C21-0001-4B7E.call"
echo "== Index log"
cat "$TEMP/Tellmarin/"tlm20*.log
