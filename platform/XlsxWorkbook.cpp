#include "platform/XlsxWorkbook.h"

#include <QByteArray>
#include <QDir>

#include <xlsxwriter.h>

#include <stdexcept>

namespace qpn {

QString XlsxCellStyle::key() const
{
    return QStringLiteral("%1|%2|%3|%4%5%6|%7|%8|%9|%10")
        .arg(fontName).arg(fontSize).arg(fontColor)
        .arg(bold).arg(italic).arg(strikeOut)
        .arg(border).arg(borderColor)
        .arg(fill ? QString::number(*fill) : QStringLiteral("-"))
        .arg(numberFormat);
}

XlsxWorkbook::XlsxWorkbook(const QString &path) : m_path(path)
{
    const QByteArray file = QDir::toNativeSeparators(path).toUtf8();
    QByteArray tmp = QDir::tempPath().toUtf8();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmp.data();
    m_workbook = workbook_new_opt(file.constData(), &options);
    if (!m_workbook)
        throw std::runtime_error("cannot create the workbook " + path.toStdString());
}

XlsxWorkbook::~XlsxWorkbook()
{
    if (m_workbook)
        workbook_close(m_workbook);
}

void XlsxWorkbook::check(int error, const char *what)
{
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(std::string(what) + ": " + lxw_strerror(static_cast<lxw_error>(error)));
}

lxw_worksheet *XlsxWorkbook::sheet() const
{
    if (!m_sheet)
        throw std::logic_error("no worksheet added");
    return m_sheet;
}

bool XlsxWorkbook::isValidSheetName(const QString &name) const
{
    return workbook_validate_sheet_name(m_workbook, name.toUtf8().constData()) == LXW_NO_ERROR;
}

void XlsxWorkbook::addWorksheet(const QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    m_sheet = workbook_add_worksheet(m_workbook, name.isEmpty() ? nullptr : utf8.constData());
    if (!m_sheet)
        throw std::runtime_error("invalid sheet name " + name.toStdString());
}

void XlsxWorkbook::setColumnWidth(int column, double width)
{
    check(worksheet_set_column(sheet(), static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column),
                               width, nullptr),
          "set_column");
}

void XlsxWorkbook::setLandscape()
{
    worksheet_set_landscape(sheet());
}

void XlsxWorkbook::setHeader(const QString &text)
{
    check(worksheet_set_header(sheet(), text.toUtf8().constData()), "set_header");
}

lxw_format *XlsxWorkbook::format(const XlsxCellStyle &style)
{
    const QString key = style.key();
    if (auto found = m_formats.constFind(key); found != m_formats.constEnd())
        return found.value();
    lxw_format *f = workbook_add_format(m_workbook);
    if (!style.fontName.isEmpty())
        format_set_font_name(f, style.fontName.toUtf8().constData());
    if (style.fontSize > 0)
        format_set_font_size(f, style.fontSize);
    if (style.fontColor != 0)
        format_set_font_color(f, style.fontColor);
    if (style.bold)
        format_set_bold(f);
    if (style.italic)
        format_set_italic(f);
    if (style.strikeOut)
        format_set_font_strikeout(f);
    if (style.border != 0) {
        format_set_border(f, static_cast<uint8_t>(style.border));
        format_set_border_color(f, style.borderColor);
    }
    if (style.fill) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, *style.fill);
    }
    if (!style.numberFormat.isEmpty())
        format_set_num_format(f, style.numberFormat.toUtf8().constData());
    m_formats.insert(key, f);
    return f;
}

void XlsxWorkbook::writeString(int row, int column, const QString &text, const XlsxCellStyle &style)
{
    check(worksheet_write_string(sheet(), static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                 text.toUtf8().constData(), format(style)),
          "write_string");
}

void XlsxWorkbook::writeNumber(int row, int column, double value, const XlsxCellStyle &style)
{
    check(worksheet_write_number(sheet(), static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), value,
                                 format(style)),
          "write_number");
}

void XlsxWorkbook::writeBlank(int row, int column, const XlsxCellStyle &style)
{
    check(worksheet_write_blank(sheet(), static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                format(style)),
          "write_blank");
}

void XlsxWorkbook::close()
{
    lxw_workbook *workbook = m_workbook;
    m_workbook = nullptr;
    m_sheet = nullptr;
    if (workbook)
        check(workbook_close(workbook), "close");
}

} // namespace qpn
