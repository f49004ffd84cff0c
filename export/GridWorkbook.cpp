#include "export/GridWorkbook.h"

#include "export/CsvText.h"
#include "platform/XlsxWorkbook.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QFileInfo>
#include <QRegularExpression>

#include <xlsxwriter/format.h>

#include <algorithm>
#include <vector>

namespace qpn {

namespace {

// Spreadsheet widths are in characters of the default 11-point font; a
// full-width character takes two.
double textWidth(const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        int width = 0;
        for (const QChar c : line) {
            const bool narrow = c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F);
            width += narrow ? 1 : 2;
        }
        widest = std::max(widest, width);
    }
    return widest;
}

int borderStyle(int weight)
{
    switch (weight) {
    case 1: return LXW_BORDER_HAIR;
    case 2: return LXW_BORDER_THIN;
    case 4: return LXW_BORDER_THICK;
    case -4138: return LXW_BORDER_MEDIUM;
    default: return weight > 0 ? LXW_BORDER_THIN : LXW_BORDER_NONE;
    }
}

QString shownText(const SheetValue &value)
{
    if (value.kind != SheetValue::Kind::Number || value.numberFormat.isEmpty())
        return value.text;
    return QLocale::c().toString(value.number, 'f', 0); // with group separators
}

} // namespace

SheetValue SheetValue::fromCsvField(const QString &field)
{
    static const QRegularExpression number(QStringLiteral("^-?(\\d{1,3}(,\\d{3})+|\\d+)(\\.\\d+)?$"));
    static const QRegularExpression leadingZero(QStringLiteral("^-?0\\d"));
    static const QRegularExpression date(QStringLiteral("^(\\d{4})/(\\d{1,2})/(\\d{1,2})$"));
    SheetValue value;
    value.text = field;
    if (field.isEmpty())
        return value;
    value.kind = Kind::Text;
    if (number.match(field).hasMatch() && !leadingZero.match(field).hasMatch()) {
        QString digits = field;
        digits.remove(QLatin1Char(','));
        value.kind = Kind::Number;
        value.number = digits.toDouble();
        if (digits.size() != field.size() && !digits.contains(QLatin1Char('.')))
            value.numberFormat = QStringLiteral("#,##0");
        return value;
    }
    if (const auto m = date.match(field); m.hasMatch()) {
        const QDate day(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (day.isValid()) {
            value.kind = Kind::Date;
            value.number = static_cast<double>(QDate(1899, 12, 30).daysTo(day));
            value.numberFormat = QStringLiteral("yyyy/mm/dd");
        }
    }
    return value;
}

QString GridWorkbook::workbookPathFor(const QString &workFile)
{
    const QFileInfo info(workFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xlsx"));
}

QString GridWorkbook::uniqueSheetName(const QString &wanted, const QStringList &taken)
{
    QString name = wanted;
    for (int counter = 2; taken.contains(name, Qt::CaseInsensitive); ++counter)
        name += QStringLiteral("(%1)").arg(counter);
    return name;
}

void GridWorkbook::write(const QString &csvText, int columnCount, int lineCount, const ExportSettings &settings,
                         const QString &workbookPath)
{
    const QList<QStringList> rows = ParseSpreadsheetCsv(csvText);
    int sheetColumns = columnCount;
    for (const auto &row : rows)
        sheetColumns = std::max(sheetColumns, static_cast<int>(row.size()));

    // Data cells of a column whose title ends in "." are text.
    std::vector<bool> textColumn(static_cast<size_t>(sheetColumns), false);
    if (!rows.isEmpty()) {
        for (int k = 0; k < std::min(columnCount, static_cast<int>(rows.first().size())); ++k)
            textColumn[static_cast<size_t>(k)] = rows.first().at(k).endsWith(QLatin1Char('.'));
    }

    XlsxCellStyle base;
    base.fontName = settings.ExportFont.name;
    base.fontSize = settings.ExportFont.size;
    base.fontColor = ExportColorToRgb(settings.ExportFont.color);
    base.bold = settings.ExportFont.bold;
    base.italic = settings.ExportFont.italic;
    base.strikeOut = settings.ExportFont.strikeOut;

    const auto styleAt = [&](int row, int column, const QString &numberFormat) {
        XlsxCellStyle style = base;
        style.numberFormat = numberFormat;
        if (row < lineCount && column < columnCount) {
            if (settings.ExportBorderWeight != 0) {
                style.border = borderStyle(settings.ExportBorderWeight);
                style.borderColor = ExportColorToRgb(settings.ExportBorderColor);
            }
            if (row == 0 && settings.ExportTitleRow && settings.ExportTitleFillColor != NoExportColor)
                style.fill = ExportColorToRgb(settings.ExportTitleFillColor);
            else if (settings.ExportFillColor != NoExportColor)
                style.fill = ExportColorToRgb(settings.ExportFillColor);
        }
        return style;
    };

    // Interpret every field first: the widths must be known before rows stream out.
    const int rowCount = std::max(lineCount, static_cast<int>(rows.size()));
    std::vector<std::vector<SheetValue>> values(static_cast<size_t>(rowCount));
    std::vector<double> widths(static_cast<size_t>(sheetColumns), 0);
    for (int r = 0; r < rowCount; ++r) {
        auto &line = values[static_cast<size_t>(r)];
        line.resize(static_cast<size_t>(sheetColumns));
        if (r >= rows.size())
            continue;
        for (int k = 0; k < rows[r].size(); ++k) {
            const QString &field = rows[r].at(k);
            auto &value = line[static_cast<size_t>(k)];
            if (r > 0 && textColumn[static_cast<size_t>(k)]) {
                value.kind = field.isEmpty() ? SheetValue::Kind::Blank : SheetValue::Kind::Text;
                value.text = field;
                value.numberFormat = QStringLiteral("@");
            } else {
                value = SheetValue::fromCsvField(field);
            }
            widths[static_cast<size_t>(k)] = std::max(widths[static_cast<size_t>(k)], textWidth(shownText(value)));
        }
    }

    XlsxWorkbook book(workbookPath);
    const QString defaultName = QFileInfo(workbookPath).completeBaseName();
    QString sheetName = defaultName;
    if (!settings.ExportSheetName.isEmpty()) {
        const QString wanted = uniqueSheetName(settings.ExportSheetName, {QFileInfo(workbookPath).fileName()});
        if (book.isValidSheetName(wanted))
            sheetName = wanted;
    }
    book.addWorksheet(book.isValidSheetName(sheetName) ? sheetName : QString());
    if (!settings.ExportSheetName.isEmpty())
        book.setHeader(QStringLiteral("&C&A"));
    if (settings.ExportLandscape)
        book.setLandscape();
    if (settings.ExportAutoFit) {
        const double scale = settings.ExportFont.size > 0 ? settings.ExportFont.size / 11.0 : 1.0;
        for (int k = 0; k < sheetColumns; ++k)
            book.setColumnWidth(k, std::max(widths[static_cast<size_t>(k)] * scale + 1.0, 2.0));
    }

    for (int r = 0; r < rowCount; ++r) {
        for (int k = 0; k < sheetColumns; ++k) {
            const SheetValue &value = values[static_cast<size_t>(r)][static_cast<size_t>(k)];
            const XlsxCellStyle style = styleAt(r, k, value.numberFormat);
            switch (value.kind) {
            case SheetValue::Kind::Blank:
                if (r < lineCount && k < columnCount)
                    book.writeBlank(r, k, style);
                break;
            case SheetValue::Kind::Text:
                book.writeString(r, k, value.text, style);
                break;
            case SheetValue::Kind::Number:
            case SheetValue::Kind::Date:
                book.writeNumber(r, k, value.number, style);
                break;
            }
        }
    }
    book.close();
}

} // namespace qpn
