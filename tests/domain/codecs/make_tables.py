#!/usr/bin/python3
"""Writes the import tests' tables with other programs' writers: openpyxl and XlsxWriter
for workbooks, the csv module and iconv for delimited text, zipfile and zip for damaged,
encrypted and hostile archives.

Usage: make_tables.py FOLDER
"""
import csv
import datetime
import io
import os
import re
import subprocess
import sys
import zipfile

import openpyxl
import xlsxwriter

out = sys.argv[1]


def path(name):
    return os.path.join(out, name)


# Every separator, a quote and a line break inside fields, an empty row, an empty last cell.
ROWS = [
    ["Ф.И.О.", "Дата рождения", "Школа", "Примечание"],
    ["Иванов Иван", "7.3.2010", 'Школа "5"', "a;b,c\td"],
    ["Петрова Анна", "31/12/2011", "Лицей", "две\nстроки"],
    ["", "", "", ""],
    ["Ёлкин Пётр", "2009-01-02", "Гимназия", ""],
]
for name, separator in (("semicolon", ";"), ("comma", ","), ("tab", "\t")):
    utf8 = path(f"{name}-utf8.csv")
    with open(utf8, "w", newline="", encoding="utf-8") as f:
        csv.writer(f, delimiter=separator).writerows(ROWS)
    with open(path(f"{name}-utf8bom.csv"), "w", newline="", encoding="utf-8-sig") as f:
        csv.writer(f, delimiter=separator, lineterminator="\n").writerows(ROWS)
    for encoding in ("UTF-16", "UTF-16BE", "WINDOWS-1251", "KOI8-R", "CP866"):
        converted = subprocess.run(["iconv", "-f", "UTF-8", "-t", encoding, utf8],
                                   check=True, capture_output=True).stdout
        if encoding == "UTF-16BE":
            converted = b"\xfe\xff" + converted
        with open(path(f"{name}-{encoding.lower()}.csv"), "wb") as f:
            f.write(converted)

# Inline strings, a header of two levels in merged cells, dates, numbers, a number kept as
# text with its leading zero, and an empty column E.
wb = openpyxl.Workbook()
ws = wb.active
ws["A1"] = "Участник"
ws.merge_cells("A1:C1")
ws["D1"] = "Дата рождения"
ws.merge_cells("D1:D2")
ws["F1"], ws["G1"], ws["H1"] = "УИН", "Номер", "Пол"
ws["A2"], ws["B2"], ws["C2"] = "Фамилия", "Имя", "Отчество"
ws.append(["Иванов", "Иван", "Иванович", datetime.date(2010, 3, 7), None, "01234567890", 17, "муж"])
ws.append(["Петрова", "Анна", None, datetime.datetime(2011, 12, 31), None, 12345678901, 5.5, "Ж"])
ws["F4"].number_format = "0"
wb.create_sheet("Черновик")["A1"] = "не тот лист"
wb.save(path("openpyxl.xlsx"))

# Shared and rich strings, the 1904 date system, a boolean, a formula's cached text and a
# day number without a date style.
wb = xlsxwriter.Workbook(path("xlsxwriter.xlsx"), {"date_1904": True})
ws = wb.add_worksheet("Лист")
bold = wb.add_format({"bold": True})
day = wb.add_format({"num_format": "dd.mm.yyyy"})
ws.write_row(0, 0, ["ФИО", "ДР", "Класс", "Сдал"])
ws.write_rich_string(1, 0, bold, "Сидоров", " Семён")
ws.write_datetime(1, 1, datetime.datetime(2010, 3, 7), day)
ws.write_string(1, 2, "5А")
ws.write_boolean(1, 3, True)
ws.write_string(2, 0, "ФИО")
ws.write_number(2, 1, 40244)
ws.write_formula(2, 2, '="5"&"Б"', None, "5Б")
wb.add_worksheet("Второй").write(0, 0, "не тот лист")
wb.close()

# Parts far larger than one read of the archive.
wb = xlsxwriter.Workbook(path("long.xlsx"))
ws = wb.add_worksheet()
ws.write_row(0, 0, ["ФИО", "Номер"])
for i in range(1, 3001):
    ws.write_row(i, 0, ["Участник номер %d" % i, i])
wb.close()

# Hostile input.
with open(path("openpyxl.xlsx"), "rb") as f:
    workbook = f.read()
open(path("empty.xlsx"), "wb").close()
open(path("empty.csv"), "wb").close()
picture = b"\x89PNG\r\n\x1a\n\0\0\0\rIHDR" + bytes(range(256))
for name in ("picture.csv", "picture.xlsx"):
    with open(path(name), "wb") as f:
        f.write(picture)
with open(path("truncated.xlsx"), "wb") as f:
    f.write(workbook[: len(workbook) // 2])


def rewrite(name, change=None, extra=()):
    source = zipfile.ZipFile(io.BytesIO(workbook))
    with zipfile.ZipFile(path(name), "w", zipfile.ZIP_DEFLATED) as target:
        for entry in source.namelist():
            data = source.read(entry)
            if change and entry in change:
                data = change[entry](data.decode()).encode()
            target.writestr(entry, data)
        for entry, data in extra:
            target.writestr(entry, data)


# Scrambled bytes inside the sheet's compressed data.
archive = zipfile.ZipFile(io.BytesIO(workbook))
sheet = archive.getinfo("xl/worksheets/sheet1.xml")
start = sheet.header_offset + 30 + len(sheet.filename) + len(sheet.extra) + 40
damaged = bytearray(workbook)
damaged[start:start + 16] = bytes(16)
with open(path("corrupt.xlsx"), "wb") as f:
    f.write(damaged)

unpacked = path("unpacked")
archive.extractall(unpacked)
subprocess.run(["zip", "-q", "-r", "-P", "secret", os.path.abspath(path("encrypted.xlsx")), "."],
               cwd=unpacked, check=True)

rewrite("bomb.xlsx", extra=[("xl/media/image1.bin", bytes(201 * 1024 * 1024))])
rewrite("dimension.xlsx", {"xl/worksheets/sheet1.xml":
                           lambda x: re.sub(r'<dimension ref="[^"]*"/>',
                                            '<dimension ref="A1:Z40000"/>', x)})
# Two cells, without a stated extent, that span more than a million.
rewrite("sparse.xlsx", {"xl/worksheets/sheet1.xml":
                        lambda x: re.sub(r"<dimension[^>]*/>", "", x).replace(
                            "</sheetData>", '<row r="1048576"><c r="AZ1048576" t="n"><v>1</v>'
                                            "</c></row></sheetData>")})
# Thousands of merges, each within the cap, that would fill billions of cells together.
rewrite("merges.xlsx", {"xl/worksheets/sheet1.xml":
                        lambda x: re.sub(r"<mergeCells[^>]*>", lambda m: m.group(0) +
                                         '<mergeCell ref="A1:J100000"/>' * 3000, x)})
# A million merges of one cell each, which fill no more than the cap but are kept until read.
rewrite("onecellmerges.xlsx", {"xl/worksheets/sheet1.xml":
                               lambda x: re.sub(r"<mergeCells[^>]*>", lambda m: m.group(0) +
                                                '<mergeCell ref="A1:A1"/>' * 1_000_000, x)})
# Elements nested a million deep, which the XML reader would keep open all at once.
rewrite("deep.xlsx", {"xl/worksheets/sheet1.xml":
                      lambda x: x.replace("</sheetData>",
                                          "<a>" * 1_000_000 + "</a>" * 1_000_000 + "</sheetData>")})
# One row of a hundred million separators, alone and before a value.
with open(path("separators.csv"), "wb") as f:
    f.write(b";" * 100_000_000)
with open(path("wide.csv"), "wb") as f:
    f.write(b";" * 100_000_000 + b"x")
with open(path("cells.csv"), "w", newline="") as f:
    csv.writer(f).writerows([["a", "b", "c"]] * 333334)

laughs = '<!DOCTYPE s [<!ENTITY l0 "lol">' + "".join(
    f'<!ENTITY l{i} "{("&l%d;" % (i - 1)) * 10}">' for i in range(1, 10)) + "]>"
rewrite("laughs.xlsx", {"xl/worksheets/sheet1.xml":
                        lambda x: x.replace("<worksheet", laughs + "<worksheet", 1).replace(
                            "<v>17</v>", "<v>&l9;</v>")})
with open(path("secret.txt"), "w") as f:
    f.write("секрет")
external = '<!DOCTYPE w [<!ENTITY e SYSTEM "file://%s">]>' % os.path.abspath(path("secret.txt"))
rewrite("external.xlsx", {"xl/workbook.xml":
                          lambda x: re.sub(r"(<\?xml[^>]*\?>)?", r"\g<1>" + external, x, count=1)
                          .replace("</workbook>", "<definedNames><definedName name='x'>&e;"
                                                  "</definedName></definedNames></workbook>")})
# Numbers past what the reader's arithmetic holds: a shared string far past the count and a
# column of sixteen letters.
rewrite("stringindex.xlsx", {"xl/worksheets/sheet1.xml":
                             lambda x: x.replace('<c r="H3" t="inlineStr">',
                                                 '<c r="I3" t="s"><v>2147483647</v></c>'
                                                 '<c r="H3" t="inlineStr">')},
        [("xl/sharedStrings.xml", '<sst xmlns="http://schemas.openxmlformats.org/'
                                  'spreadsheetml/2006/main"><si><t>a</t></si></sst>')])
rewrite("letters.xlsx", {"xl/worksheets/sheet1.xml":
                         lambda x: x.replace('<c r="H3"', '<c r="AAAAAAAAAAAAAAAA3"')})
# A cell longer than a sheet cell holds, in a workbook and in a text file.
rewrite("longcell.xlsx", {"xl/worksheets/sheet1.xml": lambda x: re.sub(
    r"<sheetData>.*</sheetData>", '<sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>ФИО</t>'
    '</is></c><c r="B1" t="inlineStr"><is><t>Примечание</t></is></c></row><row r="2">'
    '<c r="A2" t="inlineStr"><is><t>Иванов Иван</t></is></c><c r="B2" t="inlineStr"><is><t>' +
    "я" * 40000 + "</t></is></c></row></sheetData>", x, flags=re.S)})
with open(path("longcell.csv"), "w", encoding="utf-8") as f:
    f.write("ФИО;Примечание\nИванов Иван;\"" + "я" * 40000 + "\"\n")
# A cell of fifty million characters, a few hundred kilobytes packed.
rewrite("hugecell.xlsx", {"xl/worksheets/sheet1.xml": lambda x: x.replace(
    "<v>17</v>", "<v>17</v></c><c r=\"I3\" t=\"inlineStr\"><is><t>" + "я" * 50_000_000 +
    "</t></is>")})
# Dates in the built-in short date format 14, with no format of the workbook's own.
NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
rewrite("numfmt14.xlsx", {
    "xl/worksheets/sheet1.xml": lambda x: re.sub(
        r"<sheetData>.*</sheetData>(<mergeCells.*</mergeCells>)?", '<sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>ДР'
        '</t></is></c><c r="B1" t="inlineStr"><is><t>Номер</t></is></c></row><row r="2">'
        '<c r="A2" s="1"><v>40244</v></c><c r="B2" s="0"><v>40244</v></c></row></sheetData>',
        x, flags=re.S),
    "xl/styles.xml": lambda x: f'<styleSheet {NS}><cellXfs count="2"><xf numFmtId="0"/>'
                               '<xf numFmtId="14"/></cellXfs></styleSheet>'})
with zipfile.ZipFile(path("other.xlsx"), "w") as target:
    target.writestr("readme.txt", "не книга")
