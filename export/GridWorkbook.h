#pragma once

#include "export/ExportSettings.h"

#include <QString>
#include <QStringList>

namespace qpn {

// How a spreadsheet takes one CSV field: a number (thousands separators
// allowed, kept as the cell's format), a date "yyyy/mm/dd", or text. Numbers
// with a leading zero ("007") stay text so codes keep their digits.
struct SheetValue
{
    enum class Kind { Blank, Text, Number, Date };
    Kind kind = Kind::Blank;
    double number = 0;
    QString text;
    QString numberFormat;

    static SheetValue fromCsvField(const QString &field);
};

// Builds the formatted workbook of a grid export from its CSV work file: the
// file's rows, the border and fills of the data range (A1 to column c, row n),
// the font, text format for the data of every column whose title ends in ".",
// the sheet name, the orientation and fitted column widths.
class GridWorkbook
{
public:
    // lineCount is the export's count n; columnCount the grid's column count c.
    static void write(const QString &csvText, int columnCount, int lineCount, const ExportSettings &settings,
                      const QString &workbookPath);

    // The workbook written for a work file: "TMP$$$.CSV" -> "TMP$$$.xlsx" beside it.
    static QString workbookPathFor(const QString &workFile);
    // The wanted name, with "(2)", "(3)", ... appended (accumulating) while taken.
    static QString uniqueSheetName(const QString &wanted, const QStringList &taken);
};

} // namespace qpn
