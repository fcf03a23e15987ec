#!/usr/bin/python3
"""Prints one sheet of an .xls as JSON, read by python3-xlrd.

Usage: xls_cells.py FILE [SHEET]   (SHEET defaults to "Dictionary")

One list per row (up to nrows), one [type, value] per column (up to ncols):
type is "empty", "text", "number" or "other"; a text keeps every character.
"""
import json
import sys

import xlrd

KINDS = {xlrd.XL_CELL_EMPTY: "empty", xlrd.XL_CELL_BLANK: "empty",
         xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number"}


def main(path, sheet_name):
    book = xlrd.open_workbook(path, logfile=sys.stderr)
    sheet = book.sheet_by_name(sheet_name)
    rows = []
    for r in range(sheet.nrows):
        row = []
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            row.append([KINDS.get(cell.ctype, "other"), cell.value])
        rows.append(row)
    json.dump({"sheets": book.sheet_names(), "rows": rows}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else "Dictionary")
