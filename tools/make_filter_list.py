#!/usr/bin/env python3
"""Writes resources/filters/AppFilters.csv, the scanner's built-in filter list.

The committed CSV is the list the program carries; this script is the
readable form it is kept in. Run it from anywhere:

    python3 tools/make_filter_list.py

The tables below hold one section per category ("[Category]"). A line with
" | " is a known application:
    file | company | application name | home page | upgrade page [| auto-update]
(auto-update "1" for programs that update themselves, "0" otherwise). Any
other line is a list of file names that only carry the category, separated
by white space. In a file name "~" stands for a space.

Output: CR LF line ends, 8-bit Windows Latin-1, cells with a comma in
double quotes, the seven leading columns only (the rest stay empty).
A file name given twice (ignoring letter case) stops the script.
"""
import pathlib
import sys

HEADER = ("Path,Category,Company,Application Name,Home Page,Upgrade Web Page,Auto-Update,"
          "Support EMail,Description,Login Page,Comments,License Type,Media,Install File,"
          "Latest Version,Payment Method,Purchase Price,Auto-Remove,Hidden")

CATEGORIES = ["Filtered", "Utilities", "Operating System", "Office", "Drivers", "Video", "Windows",
              "Painting", "Browsers", "Database", "Reports", "Audio", "Programming", "Games", "Internet"]

from filter_tables import TABLES  # noqa: E402  (the data, kept apart from the code)


def cell(text):
    if '"' in text or "\r" in text or "\n" in text:
        raise SystemExit(f"a cell may not hold quotes or line breaks: {text!r}")
    return f'"{text}"' if "," in text else text


def entries():
    category = None
    for number, raw in enumerate(TABLES.splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("[") and line.endswith("]"):
            category = line[1:-1]
            if category not in CATEGORIES:
                raise SystemExit(f"line {number}: unknown category {category}")
            continue
        if " | " in line:
            parts = [p.strip() for p in line.split(" | ")]
            if len(parts) == 5:
                parts.append("0")
            if len(parts) != 6 or parts[5] not in ("0", "1"):
                raise SystemExit(f"line {number}: expected 5 or 6 parts: {line}")
            name, company, program, home, upgrade, auto = parts
            yield [name.replace("~", " "), category, company, program, home, upgrade or home, auto]
        else:
            for name in line.split():
                yield [name.replace("~", " "), category, "", "", "", "", "0"]


def main():
    seen = {}
    lines = [HEADER]
    for entry in entries():
        key = entry[0].lower()
        if not key.endswith(".exe"):
            raise SystemExit(f"not a program file name: {entry[0]}")
        if key in seen:
            raise SystemExit(f"{entry[0]} given twice ({seen[key]} and {entry[1]})")
        seen[key] = entry[1]
        lines.append(",".join(cell(c) for c in entry))
    text = "\r\n".join(lines) + "\r\n"
    out = pathlib.Path(__file__).resolve().parent.parent / "resources" / "filters" / "AppFilters.csv"
    out.write_bytes(text.encode("cp1252"))
    counts = {}
    for category in seen.values():
        counts[category] = counts.get(category, 0) + 1
    for category in CATEGORIES:
        print(f"{category:18} {counts.get(category, 0)}")
    print(f"{'total':18} {len(seen)}")


if __name__ == "__main__":
    sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
    main()
