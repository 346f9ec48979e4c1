#!/usr/bin/python3
"""Prints what pefile reads from a program file's version resource, one
field a line as NAME=VALUE (values as UTF-16 code units in hex, so that the
test needs no text decoding): the fixed file and product versions, the first
translation, the strings of the first translation's table (or of the first
table when there is no translation table), and whether the file has an icon
(as pefile and as icoutils' wrestool see it)."""
import subprocess
import sys

import pefile

pe = pefile.PE(sys.argv[1], fast_load=True)
pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])


def out(name, text):
    print(name + "=" + text.encode("utf-16-le").hex())


def version(ms, ls):
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


resources = pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
icon = any(e.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"] and e.directory.entries for e in resources)
out("icon", "1" if icon else "0")
# The same question asked of icoutils' wrestool: does it list an icon group?
listed = subprocess.run(["wrestool", "--list", "--type=14", sys.argv[1]], capture_output=True, text=True).stdout
out("wrestool_icon", "1" if listed.strip() else "0")

fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
if fixed:
    out("fixed_file", version(fixed[0].FileVersionMS, fixed[0].FileVersionLS))
    out("fixed_product", version(fixed[0].ProductVersionMS, fixed[0].ProductVersionLS))

translation = None
tables = []
for info in getattr(pe, "FileInfo", None) or []:
    for block in info:
        if block.Key == b"VarFileInfo":
            for var in block.Var:
                value = var.entry.get(b"Translation")
                if value and translation is None:
                    language, code_page = value.split()[:2]  # "0x0409 0x04b0"
                    translation = "%04x%04x" % (int(language, 16), int(code_page, 16))
        elif block.Key == b"StringFileInfo":
            tables.extend(block.StringTable)

if translation:
    out("translation", translation)
chosen = None
for table in tables:
    if translation is None or table.LangID.decode().lower() == translation:
        chosen = table
        break
if chosen is not None:
    for key in ("CompanyName", "ProductName", "FileVersion", "ProductVersion", "FileDescription"):
        value = chosen.entries.get(key.encode())
        if value is not None:
            out(key, value.decode("utf-8"))
