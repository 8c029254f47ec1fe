# Reads an exported file with a reader of its own and prints what it found as JSON.
# Usage: readback.py xlsx|csv FILE
import csv
import json
import sys


def xlsx(path):
    import openpyxl

    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]

    def cell(c):
        if c.value is None:
            return None
        if c.data_type == "d":
            return "d:%s %s" % (c.value.date().isoformat(), c.number_format)
        return "%s:%s" % (c.data_type, c.value)

    rows = [[cell(c) for c in row] for row in sheet.iter_rows()]
    return {
        "sheets": book.sheetnames,
        "frozen": sheet.freeze_panes,
        "filter": sheet.auto_filter.ref,
        "boldHeader": all(c.font.b for c in sheet[1]),
        # Every column at least as wide as its longest cell, counted in characters.
        "fitted": all(
            (sheet.column_dimensions[c[0].column_letter].width or 0)
            >= max(len(str(x.value or "")) for x in c if x.data_type != "d")
            for c in sheet.iter_cols()),
        "rows": rows,
    }


def csv_rows(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        return {"rows": list(csv.reader(f, delimiter=";"))}


print(json.dumps({"xlsx": xlsx, "csv": csv_rows}[sys.argv[1]](sys.argv[2]), ensure_ascii=False))
