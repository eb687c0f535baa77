#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates the country and area-code files of Tellmarin.

    data/tlLand.txt        "00" + country calling code, German country name
    data/tlVorwahlen.txt   German area code with leading "0", German place name;
                           German mobile prefixes with the place "<mobil>"

Sources (Debian packages, build time only):
    python3-phonenumbers   calling codes of all regions, the German geocoding
                           names and the German mobile number pattern
    iso-codes              country names with their German translation

Run it from anywhere with Debian's Python (another python3 earlier on PATH may
not see Debian's packages):

    /usr/bin/python3 tools/gen_phone_data.py [output folder, default: data/]

Record syntax of both files: one record per line, two double-quoted fields
separated by a comma, CR LF line ends, UTF-8. The program takes the first
record whose code begins the number, so every file is ordered such that a
longer code comes before a shorter code that begins it; otherwise the order is
sorted, and a second run gives byte-identical files.
"""

import gettext
import json
import re
import sys
from pathlib import Path

import phonenumbers
from phonenumbers import COUNTRY_CODE_TO_REGION_CODE
from phonenumbers.geodata import GEOCODE_DATA

ISO_3166_JSON = Path("/usr/share/iso-codes/json/iso_3166-1.json")
LOCALE_DIR = "/usr/share/locale"
MOBILE_PLACE = "<mobil>"

# Short names users expect, and names for codes iso-codes has no entry for
# (Ascension, Kosovo, the non-geographic codes of region "001").
COUNTRY_OVERRIDES = {
    1: "USA/Kanada",
    7: "Russland",
    44: "Großbritannien",
    247: "Ascension",
    290: "St. Helena/Tristan da Cunha",
    383: "Kosovo",
    500: "Falklandinseln",
    673: "Brunei",
    691: "Mikronesien",
    800: "Internationale gebührenfreie Rufnummer",
    808: "Internationale Rufnummer mit geteilten Kosten",
    870: "Inmarsat",
    878: "Universelle persönliche Telekommunikation",
    881: "Globales Mobilfunk-Satellitensystem",
    882: "Internationale Netze",
    883: "Internationale Netze",
    888: "Katastrophenhilfe (OCHA)",
    970: "Palästina",
    979: "Internationaler Premium-Dienst",
}

# Codes that the geocoding data gives shorter than the German numbering plan.
AREA_CODE_FIXES = {
    "0465": "04651",  # Sylt
    "0760": "07602",  # Oberried Breisgau
}


def first_match_order(code):
    """Sort key: code order, but a longer code before a shorter one that
    begins it ("02129" before "0212"), as "first record wins" needs."""
    return code + "~"


def check_order(records, what):
    """Fails when a record would shadow a later one (equal or extending code)."""
    position = {}
    for index, (code, _) in enumerate(records):
        if code in position:
            sys.exit(f"{what}: {code} twice")
        position[code] = index
    for code, index in position.items():
        for n in range(1, len(code)):
            if position.get(code[:n], index) < index:
                sys.exit(f"{what}: {code[:n]} shadows {code}")


def quoted(text):
    if '"' in text or "\r" in text or "\n" in text:
        sys.exit(f"text not writable as a quoted field: {text!r}")
    return '"' + text + '"'


def write_records(path, records):
    lines = "".join(f"{quoted(a)},{quoted(b)}\r\n" for a, b in records)
    path.write_bytes(lines.encode("utf-8"))
    print(f"{path}: {len(records)} records")


# ---------------------------------------------------------------- countries


def iso_country_names():
    """Region code -> German name (common name where iso-codes has one)."""
    german = gettext.translation("iso_3166-1", LOCALE_DIR, languages=["de"])
    entries = json.loads(ISO_3166_JSON.read_text(encoding="utf-8"))["3166-1"]
    return {e["alpha_2"]: german.gettext(e.get("common_name", e["name"])) for e in entries}


def country_records():
    names = iso_country_names()
    records = []
    for code, regions in COUNTRY_CODE_TO_REGION_CODE.items():
        name = COUNTRY_OVERRIDES.get(code) or names.get(regions[0])
        if not name:
            sys.exit(f"no German name for +{code} ({', '.join(regions)})")
        records.append(("00" + str(code), name))
    records.sort(key=lambda r: first_match_order(r[0]))
    check_order(records, "tlLand")
    return records


# --------------------------------------------------------------- area codes


def landline_records():
    records = {}
    for prefix, names in GEOCODE_DATA.items():
        if not prefix.startswith("49"):
            continue
        code = "0" + prefix[2:]
        code = AREA_CODE_FIXES.get(code, code)
        if code in records:
            sys.exit(f"area code {code} twice")
        records[code] = names["de"]
    return records


def mobile_pattern():
    metadata = phonenumbers.PhoneMetadata.metadata_for_region("DE")
    return re.compile(metadata.mobile.national_number_pattern), metadata.mobile.possible_length


def is_mobile_prefix(prefix, pattern, lengths):
    """True when every number of a possible length that begins with prefix is
    a mobile number (the pattern's tails are plain digit runs, so the lowest
    and the highest completion decide)."""
    return any(
        pattern.fullmatch(prefix + "0" * (n - len(prefix)))
        and pattern.fullmatch(prefix + "9" * (n - len(prefix)))
        for n in lengths
        if n > len(prefix)
    )


def mobile_records():
    """Mobile prefixes of the national numbers 15x to 17x: the 015 blocks are
    allocated with four digits after the trunk prefix (01511, 01520, ...), the
    016 and 017 blocks with three (0160, 0171, ...)."""
    pattern, lengths = mobile_pattern()
    codes = []
    for block in range(150, 180):
        digits = str(block)
        if not is_mobile_prefix(digits, pattern, lengths):
            continue
        if digits.startswith("15"):
            codes += ["0" + digits + str(d) for d in range(10)]
        else:
            codes.append("0" + digits)
    if not codes:
        sys.exit("no mobile prefixes derived from the German mobile pattern")
    return {c: MOBILE_PLACE for c in codes}


def area_code_records():
    landline = landline_records()
    mobile = mobile_records()
    clash = sorted(set(landline) & set(mobile))
    if clash:
        sys.exit(f"codes both landline and mobile: {clash}")
    records = sorted({**landline, **mobile}.items(), key=lambda r: first_match_order(r[0]))
    check_order(records, "tlVorwahlen")
    return records


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data"
    out.mkdir(parents=True, exist_ok=True)
    write_records(out / "tlLand.txt", country_records())
    write_records(out / "tlVorwahlen.txt", area_code_records())


if __name__ == "__main__":
    main()
