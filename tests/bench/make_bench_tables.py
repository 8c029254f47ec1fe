#!/usr/bin/python3
"""Writes the import benchmark's tables: ROWS participants as a semicolon CSV in UTF-8 and
as an .xlsx written by openpyxl, with text, dates, numbers and an identification number.

Usage: make_bench_tables.py CSV_PATH CSV_ROWS XLSX_PATH XLSX_ROWS
"""
import csv
import datetime
import sys

import openpyxl

# Nine columns: 100,000 rows stay below the readers' limit of a million cells.
HEADER = ["Фамилия", "Имя", "Отчество", "Дата рождения", "Школа", "Класс", "УИН", "Пол",
          "Номер"]


def row(i):
    born = datetime.date(1990, 1, 1) + datetime.timedelta(days=i % 9000)
    return ["Фамилия%d" % i, "Имя%d" % (i % 97), "Отчество%d" % (i % 31), born,
            "Школа %d" % (i % 50), "%d%s" % (1 + i % 11, "АБВ"[i % 3]),
            "%02d-%02d-%07d" % (i % 30, i % 90, i), "мж"[i % 2], i % 500]


csv_path, csv_rows, xlsx_path, xlsx_rows = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
with open(csv_path, "w", newline="", encoding="utf-8") as f:
    writer = csv.writer(f, delimiter=";")
    writer.writerow(HEADER)
    for i in range(csv_rows):
        cells = row(i)
        cells[3] = cells[3].strftime("%d.%m.%Y")
        writer.writerow(cells)

wb = openpyxl.Workbook(write_only=True)
ws = wb.create_sheet()
ws.append(HEADER)
for i in range(xlsx_rows):
    ws.append(row(i))
wb.save(xlsx_path)
