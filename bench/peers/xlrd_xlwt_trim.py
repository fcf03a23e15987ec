"""The peers' way to trim a dictionary: xlrd reads every cell, the texts
lose their outer spaces, xlwt writes the workbook anew. Timed inside Python.

    xlrd_xlwt_trim.py FILE OUT RUNS

Prints "WALL CPU" (seconds) for each run, then "trimmed N": the cells that
changed; on stderr the process's peak resident set, as /proc tells it (a
peak the child cannot inherit from the process that started it).
"""
import sys
import time

import xlrd
import xlwt


def trim(path, out):
    book = xlrd.open_workbook(path)
    sheet = book.sheet_by_name("Dictionary")
    new_book = xlwt.Workbook(encoding="utf-8")
    new_sheet = new_book.add_sheet("Dictionary")
    changed = 0
    for r in range(sheet.nrows):
        for c, value in enumerate(sheet.row_values(r)):
            if isinstance(value, str):
                trimmed = value.strip(" ")
                changed += trimmed != value
                value = trimmed
            if value != "":
                new_sheet.write(r, c, value)
    new_book.save(out)
    return changed


def main():
    path, out, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    changed = 0
    for _ in range(runs):
        wall, cpu = time.perf_counter(), time.process_time()
        changed = trim(path, out)
        print(time.perf_counter() - wall, time.process_time() - cpu)
    print("trimmed", changed)
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                sys.stderr.write(line)


main()
