#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qpn {

// The text rules of the CSV files the program writes and reads. Everything here
// works on Unicode text; the CP932 encoding happens when a file is written or read.

// Removes leading and trailing blanks and control characters (code <= 32); a
// full-width space is content and stays.
QString CsvTrim(const QString &text);

// A grid cell: trimmed, double quotes doubled, enclosed in double quotes.
QString QuoteGridItem(const QString &shownText);
// A grid title: trimmed and enclosed, without doubling.
QString QuoteGridTitle(const QString &caption);
// A quoted item of the whole-dataset export: enclosed, double quotes doubled so
// the file reads back; line breaks stay inside the quotes.
QString QuoteItem(const QString &text);

// One logical record of an import file: the items and the file line it starts on.
struct CsvRecord
{
    int line = 0; // 1-based
    QStringList items;
};

// Splits an import file into records and items: items are separated by commas
// and, outside double quotes, by blanks; a quoted item may hold commas, blanks,
// doubled quotes and line breaks. A blank line gives a record without items.
// Commas are not removed here (see CleanImportItem).
QList<CsvRecord> ParseImportText(const QString &text);
// A number item without its thousands separators ("5,678" -> "5678").
QString CleanImportItem(const QString &item);

// Splits a file the way a spreadsheet reads CSV: fields separated by commas
// only, quoted fields with doubled quotes and line breaks inside. Every record
// keeps its empty fields.
QList<QStringList> ParseSpreadsheetCsv(const QString &text);

} // namespace qpn
