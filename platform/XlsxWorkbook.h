#pragma once

#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace qpn {

// The look of one cell. Colours are 0xRRGGBB.
struct XlsxCellStyle
{
    QString fontName;          // empty: the workbook's default font
    double fontSize = 0;       // 0: the default size
    std::uint32_t fontColor = 0;
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
    int border = 0;            // libxlsxwriter border style, 0 = none
    std::uint32_t borderColor = 0;
    std::optional<std::uint32_t> fill;
    QString numberFormat;      // "@", "#,##0", "yyyy/mm/dd"; empty: general

    QString key() const;
};

// A workbook being written to an .xlsx file, one worksheet at a time, rows in
// ascending order (the writer streams rows to keep memory flat). Close writes
// the file; a workbook destroyed without Close still writes it but drops the error.
class XlsxWorkbook
{
public:
    explicit XlsxWorkbook(const QString &path);
    ~XlsxWorkbook();
    XlsxWorkbook(const XlsxWorkbook &) = delete;
    XlsxWorkbook &operator=(const XlsxWorkbook &) = delete;

    // True when the name is a sheet name the file format accepts.
    bool isValidSheetName(const QString &name) const;
    // Adds a worksheet and makes it current; throws std::runtime_error for a bad name.
    void addWorksheet(const QString &name);

    // Column widths must be set before the first row is written.
    void setColumnWidth(int column, double width);
    void setLandscape();
    void setHeader(const QString &text);

    void writeString(int row, int column, const QString &text, const XlsxCellStyle &style);
    void writeNumber(int row, int column, double value, const XlsxCellStyle &style);
    void writeBlank(int row, int column, const XlsxCellStyle &style);

    // Writes the file; throws std::runtime_error with the writer's reason.
    void close();

private:
    lxw_format *format(const XlsxCellStyle &style);
    lxw_worksheet *sheet() const;
    static void check(int error, const char *what);

    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    QHash<QString, lxw_format *> m_formats; // owned by the workbook
    QString m_path;
};

} // namespace qpn
