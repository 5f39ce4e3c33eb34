#!/usr/bin/python3
"""Reads an exported file back with openpyxl or Python's csv module and checks that it
holds exactly the rows and columns of the page's results object, in order, with the values
as the export formats write them.

Usage: export_check.py <results.json> <exported file> xlsx|excelcsv|plaincsv <site origin>
Exit status 0 when the file matches; otherwise the first difference is printed.
"""
import csv
import datetime
import io
import json
import math
import sys


def rating_word(x):
    if not math.isfinite(x) or x < 0.5 or x > 5.5:
        return None
    for limit, word in ((4.5, "Strong Buy"), (3.5, "Buy"), (2.5, "Hold"), (1.5, "Sell")):
        if x >= limit:
            return word
    return "Strong Sell"


def is_number(v):
    return isinstance(v, (int, float)) and not isinstance(v, bool)


def plain_cell(v):
    """('n', number), ('t', text) or None for a value of the page."""
    if is_number(v):
        return ("n", float(v)) if math.isfinite(v) else None
    if isinstance(v, str):
        return ("t", v)
    return None


def expected_table(results):
    """The output columns (label, type, key) and rows of cells as the program reads them."""
    columns = []
    for c in results["columns"]:
        label = c.get("label") or c["key"]
        if c.get("type") == "rating":
            columns.append((label, "ratingtxt", c["key"]))
            columns.append((label + " score", "score", c["key"] + "_score"))
        else:
            columns.append((label, c.get("type", ""), c["key"]))
    rows = []
    for raw in results["rows"]:
        cells = []
        for c, v in zip(results["columns"], raw):
            cell = plain_cell(v)
            kind = c.get("type")
            if kind == "rating":
                word = rating_word(cell[1]) if cell and cell[0] == "n" else None
                cells.append(("t", word) if word else None)
                cells.append(cell if cell and cell[0] == "n" else None)
            elif kind == "sig" and cell and cell[0] == "n":
                cells.append(None if cell[1] == 0 else
                             ("t", "Golden cross" if cell[1] > 0 else "Death cross"))
            else:
                cells.append(cell)
        rows.append(cells)
    return columns, rows


def shortest(x):
    for p in (15, 16, 17):
        text = "%.*g" % (p, x)
        if float(text) == x:
            return text
    return text


def csv_field(cell, excel):
    if cell is None:
        return ""
    if cell[0] == "n":
        return shortest(cell[1])
    text = cell[1]
    if excel and text and text[0] in "=+-@\t\r":
        text = "'" + text
    return text


def check_csv(path, columns, rows, excel):
    data = open(path, "rb").read()
    bom = b"\xef\xbb\xbf"
    if data.startswith(bom) != excel:
        return "byte-order mark %s" % ("missing" if excel else "present")
    if not data.endswith(b"\r\n"):
        return "the last record does not end with CR LF"
    text = data[len(bom):].decode("utf-8") if excel else data.decode("utf-8")
    records = list(csv.reader(io.StringIO(text, newline="")))
    header = [label + (" (%)" if kind == "pct" else "") for label, kind, _ in columns]
    if records[0] != header:
        return "header %r, expected %r" % (records[0], header)
    if len(records) - 1 != len(rows):
        return "%d records, expected %d" % (len(records) - 1, len(rows))
    for n, (record, cells) in enumerate(zip(records[1:], rows), 1):
        want = [csv_field(cell, excel) for cell in cells]
        if record != want:
            return "record %d: %r, expected %r" % (n, record, want)
    if text.count("\r\n") < len(rows) + 1:
        return "records not ended with CR LF"
    return None


def symbol_url(origin, screener, symbol):
    raw = symbol.encode("utf-8")
    low = symbol.lower() if symbol.isascii() else ""
    if not 1 <= len(raw) <= 16 or not low or \
            any(ch not in "abcdefghijklmnopqrstuvwxyz0123456789-." for ch in low):
        return ""
    return origin + ("/etfs/" if screener == "etfs" else "/stocks/") + low + ".html?src=vqs"


def date_value(text):
    if len(text) != 10 or text[4] != "-" or text[7] != "-" or \
            not (text[:4] + text[5:7] + text[8:]).isdigit():
        return None
    y, m, d = int(text[:4]), int(text[5:7]), int(text[8:])
    if not (1 <= m <= 12 and 1 <= d <= 31 and y >= 1900):
        return None
    return datetime.datetime(y, m, 1) + datetime.timedelta(days=d - 1)


def xlsx_value(cell, kind, first_is_symbol, results, origin):
    if cell is None:
        return None
    if cell[0] == "n":
        return cell[1] / 100 if kind == "pct" else cell[1]
    text = cell[1]
    if first_is_symbol:
        url = symbol_url(origin, results["screener"], text)
        if url and len(url) <= 255 and len(text.encode("utf-8")) <= 255:
            return '=HYPERLINK("%s","%s")' % (url.replace('"', '""'), text.replace('"', '""'))
        return text
    if kind == "date":
        when = date_value(text)
        if when is not None:
            return when
    return text


def check_xlsx(path, columns, rows, results, origin):
    import openpyxl
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    if sheet.max_row != len(rows) + 1 or sheet.max_column != len(columns):
        return "sheet of %d x %d, expected %d x %d" % (
            sheet.max_row, sheet.max_column, len(rows) + 1, len(columns))
    grid = sheet.iter_rows(values_only=True)
    header = list(next(grid))
    if header != [label for label, _, _ in columns]:
        return "header %r" % header
    for n, (got, cells) in enumerate(zip(grid, rows), 2):
        want = [xlsx_value(cell, kind, i == 0 and key == "s", results, origin)
                for i, (cell, (_, kind, key)) in enumerate(zip(cells, columns))]
        if list(got) != want:
            return "row %d: %r, expected %r" % (n, got, want)
    return None


def main():
    results = json.load(open(sys.argv[1], encoding="utf-8"))
    path, form, origin = sys.argv[2], sys.argv[3], sys.argv[4]
    columns, rows = expected_table(results)
    if not rows:
        print("the page's results hold no rows")
        return 1
    if form == "xlsx":
        problem = check_xlsx(path, columns, rows, results, origin)
    else:
        problem = check_csv(path, columns, rows, form == "excelcsv")
    if problem:
        print(problem)
        return 1
    print("%s: %d rows x %d columns match the page" % (form, len(rows), len(columns)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
