#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads one resource of a CardDAV/CalDAV server the way another client
would, with nothing but Python's standard library, and prints it as JSON:

  read_dav.py URL USER PASSWORD

  {"status": 200, "contentType": "text/calendar; ...",
   "components": [{"name": "VCALENDAR",
                   "properties": [{"name": "PRODID", "params": {}, "value": "..."}],
                   "components": [{"name": "VJOURNAL", ...}]}]}

Lines are unfolded, parameters split (quoted values kept whole) and text
values unescaped (\\n, \\,, \\; and \\\\), as RFC 5545 and RFC 6350 say."""
import base64
import json
import sys
import urllib.error
import urllib.request


def fetch(url, user, password):
    request = urllib.request.Request(url)
    login = base64.b64encode(f"{user}:{password}".encode()).decode()
    request.add_header("Authorization", "Basic " + login)
    try:
        with urllib.request.urlopen(request) as answer:
            return answer.status, answer.headers.get("Content-Type", ""), answer.read()
    except urllib.error.HTTPError as e:
        return e.code, e.headers.get("Content-Type", ""), b""


def unfold(text):
    lines = []
    for line in text.replace("\r\n", "\n").split("\n"):
        if line[:1] in (" ", "\t") and lines:
            lines[-1] += line[1:]
        elif line:
            lines.append(line)
    return lines


def split_outside_quotes(text, separators):
    """Splits at each separator that is not inside double quotes; returns the
    pieces and the separator that ended each one (None for the last)."""
    pieces, ends, current, quoted = [], [], "", False
    for i, ch in enumerate(text):
        if ch == '"':
            quoted = not quoted
        if not quoted and ch in separators:
            pieces.append(current)
            ends.append(ch)
            if ch == ":":
                pieces.append(text[i + 1:])
                ends.append(None)
                return pieces, ends
            current = ""
            continue
        current += ch
    pieces.append(current)
    ends.append(None)
    return pieces, ends


def unescape(value):
    out, i = "", 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            nxt = value[i + 1]
            out += "\n" if nxt in "nN" else nxt
            i += 2
        else:
            out += value[i]
            i += 1
    return out


def content_line(line):
    pieces, ends = split_outside_quotes(line, ";:")
    if ":" not in ends:
        raise ValueError("no value in line: " + line)
    name, params = pieces[0].upper(), {}
    for piece in pieces[1:-1]:
        key, _, value = piece.partition("=")
        params[key.upper()] = value.strip('"')
    return {"name": name, "params": params, "value": unescape(pieces[-1])}


def components(lines):
    top, stack = [], []
    for line in lines:
        prop = content_line(line)
        if prop["name"] == "BEGIN":
            component = {"name": prop["value"].upper(), "properties": [], "components": []}
            (stack[-1]["components"] if stack else top).append(component)
            stack.append(component)
        elif prop["name"] == "END":
            if not stack or stack[-1]["name"] != prop["value"].upper():
                raise ValueError("END without BEGIN: " + line)
            stack.pop()
        elif stack:
            stack[-1]["properties"].append(prop)
        else:
            raise ValueError("property outside a component: " + line)
    if stack:
        raise ValueError("unterminated " + stack[-1]["name"])
    return top


def main():
    url, user, password = sys.argv[1:4]
    status, content_type, body = fetch(url, user, password)
    result = {"status": status, "contentType": content_type, "components": []}
    if status == 200:
        result["components"] = components(unfold(body.decode("utf-8")))
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
