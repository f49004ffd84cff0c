#include "engine/SqlLexer.h"

#include "engine/EngineError.h"

namespace qpn::engine {

namespace {

[[noreturn]] void Fail(const QString &what)
{
    throw EngineError(QStringLiteral("SQL error - ") + what);
}

bool IsNameStart(QChar c)
{
    return c == u'_' || (c.unicode() < 0x80 ? c.isLetter() : !c.isSpace());
}

// Reads a quoted run starting after the opening character; a doubled closing
// character stands for itself.
int ReadQuoted(const QString &text, int pos, QChar close, QString &out)
{
    while (pos < text.size()) {
        const QChar c = text.at(pos);
        if (c == close) {
            if (pos + 1 < text.size() && text.at(pos + 1) == close) {
                out += close;
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        out += c;
        ++pos;
    }
    return -1;
}

int ReadNumber(const QString &text, int pos)
{
    auto digits = [&] {
        while (pos < text.size() && text.at(pos).unicode() < 0x80 && text.at(pos).isDigit())
            ++pos;
    };
    digits();
    if (pos < text.size() && text.at(pos) == u'.') {
        ++pos;
        digits();
    }
    if (pos < text.size() && (text.at(pos) == u'e' || text.at(pos) == u'E')) {
        int p = pos + 1;
        if (p < text.size() && (text.at(p) == u'+' || text.at(p) == u'-'))
            ++p;
        if (p < text.size() && text.at(p).isDigit() && text.at(p).unicode() < 0x80) {
            pos = p;
            digits();
        }
    }
    return pos;
}

} // namespace

bool IsSqlNameChar(QChar c)
{
    return IsNameStart(c) || (c.unicode() < 0x80 && c.isDigit());
}

std::vector<SqlToken> TokenizeSql(const QString &text)
{
    std::vector<SqlToken> tokens;
    int pos = 0;
    const int size = text.size();
    while (pos < size) {
        const QChar c = text.at(pos);
        if (c.isSpace()) {
            ++pos;
            continue;
        }
        if (text.mid(pos, 2) == QLatin1String("/*")) {
            const int close = text.indexOf(QLatin1String("*/"), pos + 2);
            if (close < 0)
                Fail(QStringLiteral("unterminated comment"));
            pos = close + 2;
            continue;
        }
        if (text.mid(pos, 2) == QLatin1String("--")) {
            while (pos < size && text.at(pos) != u'\n')
                ++pos;
            continue;
        }
        SqlToken token;
        token.begin = pos;
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            const int next = ReadQuoted(text, pos + 1, close, token.text);
            if (next < 0)
                Fail(c == u'\'' ? QStringLiteral("unterminated string %1").arg(text.mid(pos, 20))
                                : QStringLiteral("unterminated name %1").arg(text.mid(pos, 20)));
            token.kind = c == u'\'' ? SqlTokenKind::String : SqlTokenKind::QuotedName;
            pos = next;
        } else if (c == u':') {
            int p = pos + 1;
            while (p < size && IsSqlNameChar(text.at(p)))
                ++p;
            if (p == pos + 1)
                Fail(QStringLiteral("parameter name missing after ':'"));
            token.kind = SqlTokenKind::Parameter;
            token.text = text.mid(pos + 1, p - pos - 1);
            pos = p;
        } else if ((c.isDigit() && c.unicode() < 0x80)
                   || (c == u'.' && pos + 1 < size && text.at(pos + 1).isDigit()
                       && text.at(pos + 1).unicode() < 0x80)) {
            const int p = ReadNumber(text, pos);
            token.kind = SqlTokenKind::Number;
            token.text = text.mid(pos, p - pos);
            pos = p;
        } else if (IsNameStart(c)) {
            int p = pos + 1;
            while (p < size && IsSqlNameChar(text.at(p)))
                ++p;
            token.kind = SqlTokenKind::Word;
            token.text = text.mid(pos, p - pos);
            pos = p;
        } else {
            static const QString twoChar[] = {QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("!="),
                                              QStringLiteral("||")};
            static const QString oneChar = QStringLiteral("=<>(),.*+-/;");
            token.kind = SqlTokenKind::Symbol;
            const QString pair = text.mid(pos, 2);
            bool found = false;
            for (const QString &op : twoChar) {
                if (pair == op) {
                    token.text = op;
                    pos += 2;
                    found = true;
                    break;
                }
            }
            if (!found) {
                if (!oneChar.contains(c))
                    Fail(QStringLiteral("unexpected character '%1'").arg(c));
                token.text = c;
                ++pos;
            }
        }
        token.end = pos;
        tokens.push_back(token);
    }
    SqlToken end;
    end.begin = end.end = size;
    tokens.push_back(end);
    return tokens;
}

} // namespace qpn::engine
