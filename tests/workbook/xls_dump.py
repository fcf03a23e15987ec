#!/usr/bin/python3
"""Dumps an .xls as JSON with python3-xlrd, a reader independent of ours.

Per sheet: every non-empty cell (type, value, XF index, font and number
format of that XF), column widths and merged ranges; for the book: defined
names and a digest of every stream other than Workbook.
"""
import hashlib
import json
import sys

import xlrd
from xlrd import compdoc


def main(path):
    with open(path, "rb") as f:
        data = f.read()
    book = xlrd.open_workbook(file_contents=data, formatting_info=True, logfile=sys.stderr)
    out = {"sheets": [], "names": [], "streams": {}}
    for sheet in book.sheets():
        cells = []
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                xf = book.xf_list[cell.xf_index]
                font = book.font_list[xf.font_index]
                cells.append({
                    "r": r, "c": c, "type": cell.ctype, "value": cell.value,
                    "xf": cell.xf_index, "bold": font.bold, "italic": font.italic,
                    "colour": font.colour_index,
                    "format": book.format_map[xf.format_key].format_str,
                    "fill": xf.background.pattern_colour_index,
                })
        out["sheets"].append({
            "name": sheet.name, "nrows": sheet.nrows, "ncols": sheet.ncols, "cells": cells,
            "widths": {str(k): v.width for k, v in sorted(sheet.colinfo_map.items())},
            "merged": [list(m) for m in sheet.merged_cells],
        })
    out["names"] = sorted(n.name for n in book.name_obj_list)
    doc = compdoc.CompDoc(data, logfile=sys.stderr)
    for entry in doc.dirlist:
        if entry.etype == 2 and entry.name != "Workbook":
            stream = doc.get_named_stream(entry.name)
            if stream is not None:
                out["streams"][entry.name] = hashlib.sha1(stream).hexdigest()
    json.dump(out, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
