#!/usr/bin/python3
# Writes spreadsheet-utf8-bom.csv and spreadsheet-utf8.csv beside this file:
# the same rows through Python's csv module in its Excel dialect, as UTF-8
# with a byte-order mark (as spreadsheet programs save "CSV UTF-8") and
# without one. The CSV import tests read them back and compare every cell
# with the values below.
import csv
import os

HEADER = ["Application Name", "Company", "Version", "Category", "Description",
          "Purchase Price", "Comments", "Hidden"]
ROWS = [
    ["Caf\u00e9 \u00d6lm\u00fchle", "Soci\u00e9t\u00e9 G\u00e9n\u00e9rale", "2.0", "B\u00fcro,Tools",
     "Line one\r\nLine \"two\", with a comma", "$1,299.00", "na\u00efve \u2013 r\u00e9sum\u00e9", "Yes"],
    ["\u65e5\u672c\u8a9e\u30a8\u30c7\u30a3\u30bf", "\u682a\u5f0f\u4f1a\u793e", "3.1", "<All>",
     "Emoji \U0001F600 and \"quotes\"", "$1,200.50", "", "No"],
    ["Plain", "ACME, Inc.", "1.0", "", "\"", "12.5", "tab\there\nand a bare line feed", "no"],
]

here = os.path.dirname(os.path.abspath(__file__))
for name, encoding in (("spreadsheet-utf8-bom.csv", "utf-8-sig"), ("spreadsheet-utf8.csv", "utf-8")):
    with open(os.path.join(here, name), "w", encoding=encoding, newline="") as f:
        writer = csv.writer(f, dialect="excel")
        writer.writerow(HEADER)
        writer.writerows(ROWS)
