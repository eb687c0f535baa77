#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a CardDAV/CalDAV server from Debian on 127.0.0.1 for tests, demos and
# benchmarks, in the folder DIR (its collections, configuration and log).
#
#   dav-server.sh radicale|xandikos DIR [--user NAME --password PASSWORD]
#                 [--rights FILE] [--tls] [--port PORT]
#
# Prints the port on the first line of standard output, then becomes the
# server (exec), so the caller that started it stops it with a signal.
# Radicale checks the user's password (htpasswd, plain) and, with --rights,
# the given rights file (for collections shared between users); --tls serves
# HTTPS with a self-signed certificate made in DIR. Xandikos has no login.
set -euo pipefail
kind=${1:?radicale or xandikos}; dir=${2:?folder}; shift 2
user=u; password=secret; rights=; tls=0; port=
while [ $# -gt 0 ]; do
  case "$1" in
    --user) user=$2; shift 2 ;;
    --password) password=$2; shift 2 ;;
    --rights) rights=$2; shift 2 ;;
    --tls) tls=1; shift ;;
    --port) port=$2; shift 2 ;;
    *) echo "dav-server.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
if [ -z "$port" ]; then
  port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
fi
echo "$port"

case "$kind" in
  radicale)
    printf '%s:%s\n' "$user" "$password" >"$dir/users"
    {
      printf '[server]\nhosts = 127.0.0.1:%s\nmax_content_length = 200000000\n' "$port"
      if [ "$tls" = 1 ]; then
        [ -f "$dir/cert.pem" ] || openssl req -x509 -newkey rsa:2048 -nodes -days 2 \
          -subj /CN=127.0.0.1 -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>/dev/null
        printf 'ssl = True\ncertificate = %s/cert.pem\nkey = %s/key.pem\n' "$dir" "$dir"
      fi
      printf '[auth]\ntype = htpasswd\nhtpasswd_filename = %s/users\nhtpasswd_encryption = plain\ndelay = 0\n' "$dir"
      printf '[storage]\nfilesystem_folder = %s/collections\n' "$dir"
      if [ -n "$rights" ]; then
        printf '[rights]\ntype = from_file\nfile = %s\n' "$rights"
      else
        printf '[rights]\ntype = owner_only\n'
      fi
      printf '[logging]\nlevel = warning\n'
    } >"$dir/config"
    exec /usr/bin/radicale --config "$dir/config" 2>>"$dir/log"
    ;;
  xandikos)
    exec /usr/bin/xandikos -d "$dir/root" --autocreate -l 127.0.0.1 -p "$port" \
      --current-user-principal "/$user/" 2>>"$dir/log" >/dev/null
    ;;
  *) echo "dav-server.sh: radicale or xandikos, not $kind" >&2; exit 2 ;;
esac
