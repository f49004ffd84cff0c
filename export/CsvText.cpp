#include "export/CsvText.h"

namespace qpn {

namespace {

const QChar Quote = QLatin1Char('"');
const QChar Comma = QLatin1Char(',');

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString doubled(const QString &text)
{
    QString out = text;
    return out.replace(Quote, QStringLiteral("\"\""));
}

// Walks one text with a line counter; a line break is CR LF, LF or CR.
class Scanner
{
public:
    explicit Scanner(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }
    bool atRecordEnd() const { return atEnd() || isLineBreak(peek()); }
    int line() const { return m_line; }

    QChar take()
    {
        const QChar c = m_text.at(m_pos++);
        if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && peek() != QLatin1Char('\n')))
            ++m_line;
        return c;
    }
    void skipLineBreak()
    {
        if (peek() == QLatin1Char('\r'))
            take();
        if (peek() == QLatin1Char('\n'))
            take();
    }
    void skipBlanksInLine()
    {
        while (!atEnd() && isBlank(peek()) && !isLineBreak(peek()))
            take();
    }
    // Reads a quoted item from its opening quote; an unclosed quote runs to the end.
    QString quoted()
    {
        take();
        QString item;
        while (!atEnd()) {
            const QChar c = take();
            if (c != Quote) {
                item += c;
            } else if (peek() == Quote) {
                item += take();
            } else {
                break;
            }
        }
        return item;
    }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

// The items of one import record, from its first character to its line end.
QStringList importItems(Scanner &in)
{
    QStringList items;
    in.skipBlanksInLine();
    while (!in.atRecordEnd()) {
        if (in.peek() == Quote) {
            items << in.quoted();
        } else {
            QString item;
            while (!in.atEnd() && !isBlank(in.peek()) && in.peek() != Comma)
                item += in.take();
            items << item;
        }
        in.skipBlanksInLine();
        if (in.peek() == Comma) {
            in.take();
            if (in.atRecordEnd())
                items << QString();
            in.skipBlanksInLine();
        }
    }
    return items;
}

} // namespace

QString CsvTrim(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString QuoteGridItem(const QString &shownText)
{
    return Quote + doubled(CsvTrim(shownText)) + Quote;
}

QString QuoteGridTitle(const QString &caption)
{
    return Quote + CsvTrim(caption) + Quote;
}

QString QuoteItem(const QString &text)
{
    return Quote + doubled(text) + Quote;
}

QList<CsvRecord> ParseImportText(const QString &text)
{
    QList<CsvRecord> records;
    Scanner in(text);
    while (!in.atEnd()) {
        CsvRecord record;
        record.line = in.line();
        record.items = importItems(in);
        in.skipLineBreak();
        records << record;
    }
    return records;
}

QString CleanImportItem(const QString &item)
{
    QString out = item;
    return out.remove(Comma);
}

QList<QStringList> ParseSpreadsheetCsv(const QString &text)
{
    QList<QStringList> records;
    Scanner in(text);
    while (!in.atEnd()) {
        QStringList fields;
        while (true) {
            QString field;
            if (in.peek() == Quote) {
                field = in.quoted();
                while (!in.atRecordEnd() && in.peek() != Comma)
                    field += in.take();
            } else {
                while (!in.atRecordEnd() && in.peek() != Comma)
                    field += in.take();
            }
            fields << field;
            if (in.peek() != Comma)
                break;
            in.take();
        }
        in.skipLineBreak();
        records << fields;
    }
    return records;
}

} // namespace qpn
