#!/usr/bin/python3
"""Reads the CSV files that csv_roundtrip_gen wrote back with Python's csv module and
checks that every field holds what the result set held.

Usage: csv_roundtrip_check.py <csv_roundtrip_gen> <work folder>
"""
import csv
import io
import json
import math
import os
import subprocess
import sys

GUARDED_STARTS = "=+-@\t\r\n"


def expected_text(text, excel):
    if excel and text and text[0] in GUARDED_STARTS:
        return "'" + text
    return text


def check(path, expected, excel):
    with open(path, "rb") as f:
        data = f.read()
    bom = b"\xef\xbb\xbf"
    if data.startswith(bom) != excel:
        return f"{path}: byte-order mark {'missing' if excel else 'present'}"
    if not data.endswith(b"\r\n"):
        return f"{path}: last record does not end in CR LF"
    text = data.decode("utf-8-sig" if excel else "utf-8")
    records = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    if len(records) != 1 + len(expected["rows"]):
        return f"{path}: {len(records)} records, expected {1 + len(expected['rows'])}"
    header = [expected_text(label + (" (%)" if pct else ""), excel)
              for label, pct in expected["header"]]
    if records[0] != header:
        return f"{path}: header {records[0]!r} != {header!r}"
    for r, (record, row) in enumerate(zip(records[1:], expected["rows"]), start=2):
        if len(record) != len(row):
            return f"{path}: record {r} has {len(record)} fields, expected {len(row)}"
        for c, (field, cell) in enumerate(zip(record, row)):
            where = f"{path}: record {r} field {c + 1}"
            if cell is None:
                if field != "":
                    return f"{where}: {field!r} for a missing value"
            elif "t" in cell:
                if field != expected_text(cell["t"], excel):
                    return f"{where}: {field!r} != {cell['t']!r}"
            else:
                number = float.fromhex(cell["n"])
                read = float(field)
                if read != number or math.copysign(1, read) != math.copysign(1, number):
                    return f"{where}: {field!r} does not read back as {number!r}"
    return None


def main():
    generator, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    subprocess.run([generator, folder], check=True)
    with open(os.path.join(folder, "expected.json"), encoding="utf-8") as f:
        expected = json.load(f)
    failures = [message for message in (
        check(os.path.join(folder, "excel.csv"), expected, True),
        check(os.path.join(folder, "plain.csv"), expected, False),
    ) if message]
    for message in failures:
        print(message, file=sys.stderr)
    if not failures:
        print(f"both dialects read back: {len(expected['rows'])} rows x "
              f"{len(expected['header'])} columns")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
