#!/usr/bin/env python3
"""Builds the program's string table from resources/strings/*.txt.

Each source line is `ID [NAME] "text"`: a decimal id, optionally the name the
program and the tests use for it (STR_ and capitals), and the text in double quotes with the escapes \\" \\\\ \\n \\r \\t and \\uXXXX. Lines that are
empty or start with # are comments. The same id may appear only once across
all sources.

Outputs: a C++ table for the portable core (sorted by id, UTF-16 literals), a
resource script fragment with the STRINGTABLE for the Windows program and a
header of the named ids (plain #defines, so that resource scripts can use them
too), with KODRIN_NAMED_STRINGS(X) listing every name.
"""
import argparse
import re
import sys

LINE = re.compile(r'^\s*(\d+)\s+(?:(STR_[A-Z0-9_]+)\s+)?"((?:[^"\\]|\\.)*)"\s*$')


def decode(raw, where):
    out = []
    i = 0
    while i < len(raw):
        c = raw[i]
        if c != '\\':
            out.append(c)
            i += 1
            continue
        i += 1
        if i >= len(raw):
            sys.exit(f'{where}: dangling backslash')
        e = raw[i]
        simple = {'"': '"', '\\': '\\', 'n': '\n', 'r': '\r', 't': '\t'}
        if e in simple:
            out.append(simple[e])
            i += 1
        elif e == 'u':
            out.append(chr(int(raw[i + 1:i + 5], 16)))
            i += 5
        else:
            sys.exit(f'{where}: unknown escape \\{e}')
    return ''.join(out)


def cpp_literal(text):
    parts = []
    for ch in text:
        o = ord(ch)
        if ch == '"' or ch == '\\':
            parts.append('\\' + ch)
        elif 0x20 <= o < 0x7f:
            parts.append(ch)
        else:
            parts.append('\\u%04X' % o if o < 0x10000 else '\\U%08X' % o)
    return 'u"' + ''.join(parts) + '"'


def rc_literal(text):
    parts = []
    for ch in text:
        o = ord(ch)
        if ch == '"':
            parts.append('""')
        elif ch == '\\':
            parts.append('\\\\')
        elif ch == '\n':
            parts.append('\\n')
        elif ch == '\r':
            parts.append('\\r')
        elif ch == '\t':
            parts.append('\\t')
        elif 0x20 <= o < 0x7f:
            parts.append(ch)
        else:
            parts.append('\\x%04X' % o)
    return 'L"' + ''.join(parts) + '"'


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--cpp', required=True)
    ap.add_argument('--rc', required=True)
    ap.add_argument('--ids', required=True)
    ap.add_argument('sources', nargs='+')
    args = ap.parse_args()

    table = {}
    names = {}
    for path in sorted(args.sources):
        with open(path, encoding='utf-8') as f:
            for n, line in enumerate(f, 1):
                where = f'{path}:{n}'
                if not line.strip() or line.lstrip().startswith('#'):
                    continue
                m = LINE.match(line.rstrip('\n'))
                if not m:
                    sys.exit(f'{where}: expected ID "text"')
                sid = int(m.group(1))
                if sid in table:
                    sys.exit(f'{where}: string {sid} already defined at {table[sid][1]}')
                if sid > 65535:
                    sys.exit(f'{where}: string ids are 16-bit')
                table[sid] = (decode(m.group(3), where), where)
                name = m.group(2)
                if name:
                    if name in names:
                        sys.exit(f'{where}: name {name} already given to string {names[name]}')
                    names[name] = sid

    ids = sorted(table)
    with open(args.cpp, 'w', encoding='utf-8') as f:
        f.write('// Generated from resources/strings by tools/gen_strings.py. Do not edit.\n')
        f.write('#include "catalog/strings.h"\n\nnamespace kodrin {\n\n')
        f.write('const StringEntry kStringTable[] = {\n')
        for sid in ids:
            f.write(f'    {{{sid}, {cpp_literal(table[sid][0])}}},\n')
        f.write('};\n\n')
        f.write(f'const std::size_t kStringCount = {len(ids)};\n\n}}  // namespace kodrin\n')
    with open(args.rc, 'w', encoding='utf-8') as f:
        f.write('// Generated from resources/strings by tools/gen_strings.py. Do not edit.\n')
        f.write('STRINGTABLE\nBEGIN\n')
        for sid in ids:
            f.write(f'    {sid}, {rc_literal(table[sid][0])}\n')
        f.write('END\n')
    named = sorted(names.items(), key=lambda item: item[1])
    with open(args.ids, 'w', encoding='utf-8') as f:
        f.write('/* Generated from resources/strings by tools/gen_strings.py. Do not edit. */\n')
        f.write('#ifndef KODRIN_STRING_IDS_H\n#define KODRIN_STRING_IDS_H\n\n')
        for name, sid in named:
            f.write(f'#define {name:<31} {sid}\n')
        f.write('\n#define KODRIN_NAMED_STRINGS(X)')
        for name, sid in named:
            f.write(f' \\\n    X({name})')
        f.write('\n\n#endif\n')


if __name__ == '__main__':
    main()
