"""xlrd loading a workbook and reading every cell, timed inside Python.

    xlrd_load.py FILE RUNS

Prints "WALL CPU" (seconds) for each run, then "bytes N": the UTF-8 bytes of
all text cells, for the caller to check that every reader read the same.
"""
import sys
import time

import xlrd


def load(path):
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    total = 0
    for r in range(sheet.nrows):
        for value in sheet.row_values(r):
            if isinstance(value, str):
                total += len(value.encode("utf-8"))
    return total


def main():
    path, runs = sys.argv[1], int(sys.argv[2])
    total = 0
    for _ in range(runs):
        wall, cpu = time.perf_counter(), time.process_time()
        total = load(path)
        print(time.perf_counter() - wall, time.process_time() - cpu)
    print("bytes", total)


main()
