#include "engine/SqlTranslator.h"

#include "engine/EngineError.h"
#include "engine/SqlCompiler.h"
#include "engine/SqlParser.h"

#include <QRegularExpression>

namespace qpn::engine {

Translation TranslateStatement(const QString &statement, const SchemaLookup &lookup)
{
    SqlParser parser(statement);
    SqlStatement parsed = parser.parseStatement();
    SqlCompiler compiler(lookup);
    return compiler.compile(parsed);
}

QString TranslateFilter(const QString &expression, const TableSchema &schema)
{
    try {
        SqlParser parser(expression);
        SqlExprPtr condition = parser.parseCondition();
        SqlCompiler compiler(nullptr);
        return compiler.compileFilter(*condition, schema);
    } catch (const EngineError &error) {
        QString reason = error.message();
        reason.remove(QRegularExpression(QStringLiteral("^SQL error - ")));
        throw EngineError(QStringLiteral("Filter error for the table '%1' - %2").arg(schema.name, reason));
    }
}

QStringList SplitScript(const QString &script)
{
    QStringList statements;
    QString current;
    auto flush = [&] {
        if (!current.trimmed().isEmpty())
            statements.append(current.trimmed());
        current.clear();
    };
    const qsizetype size = script.size();
    qsizetype pos = 0;
    while (pos < size) {
        const QChar c = script.at(pos);
        if (c == u'/' && pos + 1 < size && script.at(pos + 1) == u'*') {
            const qsizetype close = script.indexOf(QLatin1String("*/"), pos + 2);
            if (close < 0)
                throw EngineError(QStringLiteral("SQL error - unterminated comment"));
            current += u' ';
            pos = close + 2;
        } else if (c == u'-' && pos + 1 < size && script.at(pos + 1) == u'-') {
            while (pos < size && script.at(pos) != u'\n')
                ++pos;
        } else if (c == u'\'' || c == u'"' || c == u'[') {
            // Copy the quoted run whole: a semicolon inside it is text.
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype end = pos + 1;
            while (end < size) {
                if (script.at(end) == close) {
                    if (end + 1 < size && script.at(end + 1) == close) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            current += script.mid(pos, end + 1 - pos);
            pos = end + 1;
        } else if (c == u';') {
            flush();
            ++pos;
        } else {
            current += c;
            ++pos;
        }
    }
    flush();
    return statements;
}

} // namespace qpn::engine
