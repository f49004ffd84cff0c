#pragma once

#include <QString>

#include <cstdint>

namespace qpn {

// Colours as the grid keeps them: 0x00BBGGRR, with a marker for "none".
constexpr std::uint32_t NoExportColor = 536870911;
// The same colour as 0xRRGGBB for the workbook writer.
std::uint32_t ExportColorToRgb(std::uint32_t color);

struct ExportFontSpec
{
    QString name;            // empty: the workbook's default font
    double size = 0;         // points; 0: the default size
    std::uint32_t color = 0; // 0x00BBGGRR
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
};

// What a grid's CSV and spreadsheet export does; fixed when the grid is made.
struct ExportSettings
{
    bool ExportTitleRow = true;
    bool ExportMessages = true;
    bool ExportAutoFit = true;
    QString ExportSheetName;
    ExportFontSpec ExportFont;
    int ExportBorderWeight = 2;          // 0: no borders; 1 hair, 2 thin, 4 thick, -4138 medium
    std::uint32_t ExportBorderColor = 0;
    std::uint32_t ExportFillColor = NoExportColor;
    std::uint32_t ExportTitleFillColor = NoExportColor;
    bool ExportLandscape = false;
    QString ExportFileName;              // the CSV work file
};

// The work file: the program's folder, then "CSV/" when that folder exists
// there, then "TMP$$$.CSV".
QString ExportWorkFilePath(const QString &programFolder);

// Spreadsheet column letters of a 1-based column: A..Z, AA..ZZ, ...
QString ColumnLetters(int column);

} // namespace qpn
