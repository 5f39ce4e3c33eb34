#!/usr/bin/python3
"""Reads the workbook that xlsx_roundtrip_gen wrote back with openpyxl, zipfile and
unzip, and checks it against the result set the generator used: cell values, number
formats, header styles, the frozen pane, the AutoFilter range, the HYPERLINK formulas and
the About sheet.

Usage: xlsx_roundtrip_check.py <xlsx_roundtrip_gen> <work folder> <rows> <seed>
                               <site origin> <site host> <site domain>
"""
import datetime
import json
import os
import subprocess
import sys
import zipfile

import openpyxl

ENTRIES = ["[Content_Types].xml", "_rels/.rels", "docProps/core.xml", "xl/workbook.xml",
           "xl/_rels/workbook.xml.rels", "xl/styles.xml", "xl/worksheets/sheet1.xml",
           "xl/worksheets/sheet2.xml"]

FORMATS = {"money": "$#,##0", "price": "$#,##0.00", "pct": "0.00%", "num": "#,##0.00",
           "int": "#,##0", "cnt": "#,##0", "lev": '0.0"x"', "score": "0.00"}


def text_of(hexbytes):
    """What an XML reader sees of the writer's text: characters XML forbids are spaces."""
    s = bytes.fromhex(hexbytes).decode("utf-8", errors="surrogateescape")
    out = []
    for ch in s:
        o = ord(ch)
        if 0xDC80 <= o <= 0xDCFF or o in (0xFFFE, 0xFFFF) or (o < 0x20 and ch not in "\t\n\r"):
            out.append(" ")
        else:
            out.append(ch)
    # XML readers turn CR LF and lone CR into LF.
    return "".join(out).replace("\r\n", "\n").replace("\r", "\n")


def letters(i):
    s, n = "", i + 1
    while n:
        s = chr(ord("A") + (n - 1) % 26) + s
        n = (n - 1) // 26
    return s


def date_serial(s):
    if len(s) != 10 or s[4] != "-" or s[7] != "-":
        return None
    if not (s[:4] + s[5:7] + s[8:]).isdigit():
        return None
    y, m, d = int(s[:4]), int(s[5:7]), int(s[8:])
    if not (1 <= m <= 12 and 1 <= d <= 31 and y >= 1900):
        return None
    # The day is not checked against the month: 2024-02-31 is 2 March.
    return (datetime.date(y, m, 1) - datetime.date(1899, 12, 30)).days + d - 1


def symbol_url(origin, screener, symbol):
    raw = symbol.encode("utf-8")
    if not 1 <= len(raw) <= 16:
        return ""
    low = symbol.lower() if symbol.isascii() else ""
    if not low or any(c not in "abcdefghijklmnopqrstuvwxyz0123456789-." for c in low):
        return ""
    return origin + ("/etfs/" if screener == "etfs" else "/stocks/") + low + ".html?src=vqs"


def formula(url, text):
    return '=HYPERLINK("' + url.replace('"', '""') + '","' + text.replace('"', '""') + '")'


def same(value, expected):
    if expected == "":
        return value in (None, "")
    return value == expected


def main():
    gen, work, rows, seed, origin, host, domain = sys.argv[1:8]
    os.makedirs(work, exist_ok=True)
    subprocess.run([gen, work, rows, seed], check=True)
    path = os.path.join(work, "workbook.xlsx")
    with open(os.path.join(work, "input.json"), encoding="ascii") as f:
        data = json.load(f)
    errors = []

    def expect(what, got, want):
        if not same(got, want):
            errors.append(f"{what}: got {got!r}, expected {want!r}")

    unzip = subprocess.run(["unzip", "-t", path], capture_output=True, encoding="utf-8",
                           errors="replace")
    if unzip.returncode != 0:
        errors.append("unzip -t failed:\n" + unzip.stdout + unzip.stderr)
    with zipfile.ZipFile(path) as z:
        expect("zipfile entries", z.namelist(), ENTRIES)
        expect("zipfile CRC check", z.testzip(), None)

    wb = openpyxl.load_workbook(path)
    etfs = data["screener"] == "etfs"
    sheet_name = "ETFs" if etfs else "Stocks"
    expect("sheet names", wb.sheetnames, [sheet_name, "About"])
    ws = wb[sheet_name]
    columns = data["columns"]
    types = [bytes.fromhex(c["type"]).decode() for c in columns]
    keys = [bytes.fromhex(c["key"]).decode() for c in columns]
    last = letters(len(columns) - 1) + str(len(data["rows"]) + 1)
    expect("frozen pane", ws.freeze_panes, "B2")
    expect("AutoFilter", ws.auto_filter.ref, "A1:" + last)
    expect("dimension", ws.dimensions, "A1:" + last)

    for i, col in enumerate(columns):
        cell = ws.cell(row=1, column=i + 1)
        expect(f"header {i}", cell.value, text_of(col["label"]))
        expect(f"header {i} bold", cell.font.b, True)
        right = types[i] in FORMATS or types[i] == "date"
        expect(f"header {i} alignment", cell.alignment.horizontal, "right" if right else None)
        width = ws.column_dimensions[letters(i)].width
        if not 10 <= width <= (40 if i == 1 else 50):
            errors.append(f"column {i} width {width}")

    for r, row in enumerate(data["rows"]):
        for i, value in enumerate(row):
            cell = ws.cell(row=r + 2, column=i + 1)
            where = f"{letters(i)}{r + 2}"
            t = types[i]
            if value is None:
                expect(where, cell.value, None)
            elif "n" in value:
                n = float(value["n"])
                expect(where, cell.value, n / 100 if t == "pct" else n)
                expect(where + " format", cell.number_format, FORMATS.get(t, "General"))
            elif i == 0 and keys[0] == "s" and symbol_url(origin, data["screener"],
                                                          text_of(value["t"])):
                sym = text_of(value["t"])
                expect(where, cell.value, formula(symbol_url(origin, data["screener"], sym), sym))
                expect(where + " underline", cell.font.u, "single")
            elif t == "date" and date_serial(text_of(value["t"])) is not None:
                serial = date_serial(text_of(value["t"]))
                want = datetime.datetime(1899, 12, 30) + datetime.timedelta(days=serial)
                expect(where, cell.value, want)
                expect(where + " format", cell.number_format, "yyyy-mm-dd")
            else:
                expect(where, cell.value, text_of(value["t"]))
                expect(where + " format", cell.number_format, "General")

    about = wb["About"]
    url = bytes.fromhex(data["url"]).decode()
    base, _, frag = url.partition("#")
    link = base.split("?")[0] + "?src=vqs" + ("#" + frag if frag else "")
    total = data["total"]
    count = len(data["rows"])
    want = {
        "A1": "ETF screener results" if etfs else "Stock screener results",
        "A3": "Screener", "B3": sheet_name,
        "A4": "Data as of", "B4": text_of(data["asof"]) + " market close",
        "A5": "Rows", "B5": f"{count:,}" + (f" of {total:,}" if total > 0 else ""),
        "A6": "This screen", "B6": formula(link, "Open this screen on " + domain),
        "A7": "Data", "B7": formula(origin + "/?src=vqs", host),
        "A8": "Exported", "B8": "2024-05-03 14:07 UTC",
        "A10": "Notes",
        "B10": "Percentages are stored as numbers (12.5% = 0.125). "
               "Money columns are in US dollars.",
        "B11": "Click a symbol to open its page on " + domain
               + ". For information only, not investment advice.",
        "A2": None, "B2": None, "A9": None, "B9": None, "A11": None,
    }
    for ref, value in want.items():
        expect("About " + ref, about[ref].value, value)
    expect("About title size", about["A1"].font.sz, 14)

    if errors:
        print("\n".join(errors[:50]))
        print(f"{len(errors)} problems")
        return 1
    print(f"workbook of {count} rows reads back as written")
    return 0


if __name__ == "__main__":
    sys.exit(main())
