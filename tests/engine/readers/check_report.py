"""Reads a saved results list back with an independent reader and compares it with the lines the
test expects. Usage: check_report.py FORMAT REPORT EXPECTED_JSON. Prints the differences and exits
with 1 when there are any.

EXPECTED_JSON: {"columns": [...], "summary": "...", "counts": [files, bytes, groups],
"sheets": n (xls only), "lines": [{"group": level, "column": "Name", "value": CELL} or
{"cells": [CELL, ...]}]} where CELL is {"text": t}, {"size": n} or {"date": "YYYY-MM-DD hh:mm:ss"}.
"""
import json
import sys

fmt, path, expected_path = sys.argv[1:4]
with open(expected_path, encoding="utf-8") as f:
    exp = json.load(f)
errors = []


def check(actual, expected, what):
    if actual != expected and len(errors) < 10:
        errors.append(f"{what}: got {actual!r}, expected {expected!r}")


def display(cell):
    if "size" in cell:
        return f"{cell['size']:,}"
    if "date" in cell:
        return cell["date"]
    return cell["text"]


def group_text(line):
    value = display(line["value"])
    return value if line["column"] == "Name" else f"{line['column']}: {value}"


def as_text_in_spreadsheet(text):
    return "'" + text if text[:1] in ("=", "+", "-", "@", "\t", "\r") else text


def check_csv():
    import csv
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, delimiter=";"))
    want = [exp["columns"]]
    for line in exp["lines"]:
        if "group" in line:
            want.append([as_text_in_spreadsheet(group_text(line))])
        else:
            want.append([as_text_in_spreadsheet(display(c)) for c in line["cells"]])
    check(len(rows), len(want), "row count")
    for i, (row, wanted) in enumerate(zip(rows, want)):
        check(row, wanted, f"row {i}")


def check_libreoffice_csv():
    """The CSV that LibreOffice writes from a workbook: numbers as their values, dates as shown."""
    import csv
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    width = len(exp["columns"])
    want = [exp["columns"]]
    for line in exp["lines"]:
        if "group" in line:
            want.append([group_text(line)] + [""] * (width - 1))
        else:
            want.append([str(c["size"]) if "size" in c else display(c) for c in line["cells"]])
    check(len(rows), len(want), "row count")
    for i, (row, wanted) in enumerate(zip(rows, want)):
        check(row, wanted, f"row {i}")


def check_html():
    from html.parser import HTMLParser

    class Table(HTMLParser):
        def __init__(self):
            super().__init__(convert_charrefs=True)
            self.title = self.summary = ""
            self.rows = []
            self.where = None

        def handle_starttag(self, tag, attrs):
            attrs = dict(attrs)
            if tag == "title":
                self.where = "title"
            elif tag == "p" and attrs.get("class") == "summary":
                self.where = "summary"
            elif tag == "tr":
                self.rows.append((attrs.get("class", ""), []))
            elif tag in ("td", "th"):
                self.rows[-1][1].append("")
                self.where = "cell"

        def handle_endtag(self, tag):
            if tag in ("title", "p", "td", "th"):
                self.where = None

        def handle_data(self, data):
            if self.where == "title":
                self.title += data
            elif self.where == "summary":
                self.summary += data
            elif self.where == "cell":
                self.rows[-1][1][-1] += data

    parser = Table()
    with open(path, encoding="utf-8") as f:
        parser.feed(f.read())
    check(bool(parser.title.strip()), True, "has a title")
    check(parser.summary, exp["summary"], "summary")
    want = [("", exp["columns"])]
    for line in exp["lines"]:
        if "group" in line:
            want.append(("group", [group_text(line)]))
        else:
            want.append(("", [display(c) for c in line["cells"]]))
    check(len(parser.rows), len(want), "row count")
    for i, (row, wanted) in enumerate(zip(parser.rows, want)):
        check(row, wanted, f"row {i}")


def check_xml():
    import xml.etree.ElementTree as ET

    root = ET.parse(path).getroot()
    check(root.tag, "results", "root element")
    files, size, groups = exp["counts"]
    check([root.get("files"), root.get("bytes"), root.get("groups")],
          [str(files), str(size), str(groups)], "counts")

    def value(cell):
        if "size" in cell:
            return str(cell["size"])
        if "date" in cell:
            return cell["date"].replace(" ", "T")
        return cell["text"]

    got = []

    def walk(element, level):
        for child in element:
            if child.tag == "group":
                first = child[0]
                got.append(("group", level, first.tag, first.text or ""))
                walk(child[1:], level + 1)
            elif child.tag == "file":
                got.append(("file", [(e.tag, e.text or "") for e in child]))

    walk(list(root), 0)
    want = []
    for line in exp["lines"]:
        if "group" in line:
            want.append(("group", line["group"], line["column"], value(line["value"])))
        else:
            want.append(("file", [(col, value(c)) for col, c in zip(exp["columns"], line["cells"])]))
    check(len(got), len(want), "element count")
    for i, (element, wanted) in enumerate(zip(got, want)):
        check(element, wanted, f"element {i}")


def check_xls():
    import datetime
    import xlrd

    book = xlrd.open_workbook(path, formatting_info=True)
    check(book.nsheets, exp.get("sheets", 1), "sheet count")

    def xf(cell):
        return book.xf_list[cell.xf_index]

    def fill(cell):
        background = xf(cell).background
        return background.fill_pattern, book.colour_map.get(background.pattern_colour_index)

    rows = []
    for sheet in book.sheets():
        check(sheet.row_values(0), exp["columns"], f"{sheet.name} header")
        for cell in sheet.row(0):
            check(book.font_list[xf(cell).font_index].bold, 1, f"{sheet.name} header bold")
        rows.extend((sheet, r) for r in range(1, sheet.nrows))
    check(len(rows), len(exp["lines"]), "row count")
    widest = {}  # text columns: the longest text, caption included
    for (sheet, r), line in zip(rows, exp["lines"]):
        where = f"{sheet.name} row {r}"
        if "group" in line:
            check(sheet.cell_value(r, 0), group_text(line), where)
            for cell in sheet.row(r):
                check(fill(cell), (1, (224, 224, 224)), f"{where} group fill")
            continue
        for i, want in enumerate(line["cells"]):
            cell = sheet.cell(r, i)
            check(fill(cell)[0], 0, f"{where} col {i} not filled")
            if "size" in want:
                check((cell.ctype, cell.value), (xlrd.XL_CELL_NUMBER, float(want["size"])), where)
                check(book.format_map[xf(cell).format_key].format_str, "#,##0", f"{where} format")
            elif "date" in want:
                check(cell.ctype, xlrd.XL_CELL_DATE, f"{where} col {i} is a date")
                when = datetime.datetime(*xlrd.xldate_as_tuple(cell.value, book.datemode))
                check(when.strftime("%Y-%m-%d %H:%M:%S"), want["date"], where)
            else:
                check(cell.value, want["text"], f"{where} col {i}")
                widest[i] = max(widest.get(i, len(exp["columns"][i])), len(want["text"]))
    for sheet in book.sheets():
        for i, chars in widest.items():
            check(sheet.colinfo_map[i].width >= min(chars, 255) * 256, True,
                  f"{sheet.name} column {i} fits {chars} characters")


{"csv": check_csv, "html": check_html, "xml": check_xml, "xls": check_xls,
 "libreoffice-csv": check_libreoffice_csv}[fmt]()
for error in errors:
    print(error)
sys.exit(1 if errors else 0)
