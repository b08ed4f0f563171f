#!/usr/bin/python3
# Writes the spreadsheet fixtures with other programs' writers, so the readers are tested
# on files they did not write: sheets-openpyxl.xlsx by openpyxl (python3-openpyxl),
# sheets-odfpy.ods by odfpy (python3-odf). Run once; the files are kept in the tree.
import datetime

import openpyxl
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import CoveredTableCell, Table, TableCell, TableRow
from odf.text import P

book = openpyxl.Workbook()
sheet = book.active
sheet.title = "Имущество"
sheet.append(["Наименование", "Цена 1 стороны", "Цена 2 стороны", "Согласованная", "Оценка", "Примечание"])
sheet.append(["Квартира", 1250000.5, 1300000, None, "Отчёт №5", "ипотека"])
sheet.append([])
sheet.append(["Автомобиль", 450000, "12 тыс."])
sheet.append(["Гараж", None, 100])
sheet.merge_cells("A5:B5")
sheet.append([None, 5])
sheet.append(["Дача", "=B2*2", 0.1, None, None, datetime.date(2020, 2, 1)])
other = book.create_sheet("Мебель")
other.append(["Предмет", "Цена 1"])
other.append(["Стол", 1500])
other.append(["Стул", "1 250,50"])
book.save("sheets-openpyxl.xlsx")

doc = OpenDocumentSpreadsheet()


def text_cell(text, **kw):
    cell = TableCell(valuetype="string", **kw)
    cell.addElement(P(text=text))
    return cell


def number_cell(value, **kw):
    cell = TableCell(valuetype="float", value=value, **kw)
    cell.addElement(P(text=str(value).replace(".", ",")))
    return cell


table = Table(name="Опись")
row = TableRow()
for heading in ["Имущество", "Цена 1 стороны", "Цена 2 стороны", "Заметки"]:
    row.addElement(text_cell(heading))
table.addElement(row)
row = TableRow()
row.addElement(text_cell("Дом"))
row.addElement(number_cell("3000000.25"))
row.addElement(TableCell(valuetype="float", value="2500000", formula="of:=[.B2]-500000.25"))
row.addElement(text_cell("две строки\nтекста"))
table.addElement(row)
empty = TableRow(numberrowsrepeated=2)
empty.addElement(TableCell(numbercolumnsrepeated=4))
table.addElement(empty)
row = TableRow()
row.addElement(text_cell("Лодка", numbercolumnsspanned=2))
row.addElement(CoveredTableCell())
row.addElement(number_cell("700"))
row.addElement(TableCell(formula="of:=1/0"))
table.addElement(row)
doc.spreadsheet.addElement(table)
second = Table(name="Второй лист")
row = TableRow()
row.addElement(text_cell("Наименование"))
second.addElement(row)
row = TableRow()
row.addElement(text_cell("Картина"))
second.addElement(row)
doc.spreadsheet.addElement(second)
doc.save("sheets-odfpy.ods")

# sheets-xlsxwriter.xlsx by XlsxWriter (python3-xlsxwriter): shared strings, a formula
# with its cached value, a number format with grouping.
import xlsxwriter  # noqa: E402

book = xlsxwriter.Workbook("sheets-xlsxwriter.xlsx")
sheet = book.add_worksheet("Список")
money = book.add_format({"num_format": "# ##0,00"})
sheet.write_row(0, 0, ["Название", "Цена 1", "Заметки"])
sheet.write_string(1, 0, "Телевизор")
sheet.write_number(1, 1, 0.1, money)
sheet.write_string(1, 2, "<Сторона 1> \"кавычки\" 😀")
sheet.write_string(2, 0, "Холодильник")
sheet.write_formula(2, 1, "=B2*3", money, 0.3)
sheet.write_string(3, 0, "Телевизор")
sheet.write_number(3, 1, -1234567.89)
book.close()
