#!/usr/bin/env python3
"""Writes a C++ source that holds a file's bytes as an array:
embed_bytes.py INPUT OUTPUT SYMBOL gives `SYMBOL[]` and `SYMBOLSize`."""
import sys


def main() -> None:
    source, target, symbol = sys.argv[1:4]
    data = open(source, "rb").read()
    lines = [f"// Written by tools/embed_bytes.py from {source.split('/')[-1]}; do not edit.",
             f"extern const unsigned char {symbol}[];",
             f"extern const unsigned long {symbol}Size;",
             f"const unsigned char {symbol}[] = {{"]
    for start in range(0, len(data), 20):
        lines.append("    " + ", ".join(str(b) for b in data[start:start + 20]) + ",")
    lines.append("};")
    lines.append(f"const unsigned long {symbol}Size = {len(data)};")
    with open(target, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
