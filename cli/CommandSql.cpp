#include "cli/CliCommand.h"

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/SqlTranslator.h"
#include "lib/Currency.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QMap>

namespace qpn::cli {

namespace {

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString cellText(const engine::Field &field)
{
    if (field.isNull())
        return {};
    const QVariant value = field.value();
    switch (field.dataType()) {
    case engine::FieldType::Money:
        return CurrencyPlainText(field.asCurrency());
    case engine::FieldType::Date:
        return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case engine::FieldType::DateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    case engine::FieldType::Float:
        return QString::number(field.asFloat(), 'g', QLocale::FloatingPointShortest);
    case engine::FieldType::Boolean:
        return field.asBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return field.asString();
    }
}

void printResult(engine::Query &query, QTextStream &out)
{
    QStringList line;
    for (int i = 0; i < query.fieldCount(); ++i)
        line.append(csvField(query.field(i).fieldName()));
    out << line.join(QLatin1Char(',')) << '\n';
    for (query.first(); !query.eof(); query.next()) {
        line.clear();
        for (int i = 0; i < query.fieldCount(); ++i)
            line.append(csvField(cellText(query.field(i))));
        out << line.join(QLatin1Char(',')) << '\n';
    }
}

bool isSelect(const QString &statement)
{
    return statement.trimmed().startsWith(QStringLiteral("select"), Qt::CaseInsensitive);
}

int runSql(CliContext &context)
{
    const bool headerTable = TakeFlag(context.args, QStringLiteral("--header-table"));
    QMap<QString, QString> params;
    QString param;
    while (TakeOption(context.args, QStringLiteral("--param"), param)) {
        const qsizetype equals = param.indexOf(QLatin1Char('='));
        QString name = param.left(equals);
        if (name.startsWith(QLatin1Char(':')))
            name.remove(0, 1);
        if (equals <= 0 || name.isEmpty()) {
            context.err << "qpn sql: --param は NAME=VALUE の形です: " << param << '\n';
            return 2;
        }
        params.insert(name, param.mid(equals + 1));
    }
    if (context.args.size() != 1) {
        context.err << "qpn sql: SQL 文を一つ指定してください。\n";
        return 2;
    }
    const QString folder = headerTable ? context.baseFolder
                                       : QDir(context.baseFolder).filePath(QStringLiteral("QPNdata"));
    if (!QDir(folder).exists()) {
        context.err << "qpn sql: フォルダがありません: " << QDir::toNativeSeparators(folder) << '\n';
        return 1;
    }

    try {
        const QStringList statements = engine::SplitScript(context.args.first());
        if (statements.isEmpty()) {
            context.err << "qpn sql: SQL 文がありません。\n";
            return 2;
        }
        // Every parameter must be used and every used one given, so a typing
        // slip never runs a statement with a null in its place.
        QStringList unused = params.keys();
        for (const QString &statement : statements) {
            engine::Query query;
            query.setSql(statement);
            for (const QString &name : query.paramNames()) {
                if (!params.contains(name)) {
                    context.err << "qpn sql: パラメータ :" << name << " の値がありません (--param " << name
                                << "=VALUE)。\n";
                    return 2;
                }
                unused.removeAll(name);
            }
        }
        if (!unused.isEmpty()) {
            context.err << "qpn sql: 文にないパラメータです: " << unused.join(QStringLiteral(", ")) << '\n';
            return 2;
        }

        bool printed = false;
        for (const QString &statement : statements) {
            engine::Query query;
            query.setDatabaseName(folder);
            query.setSql(statement);
            for (const QString &name : query.paramNames())
                query.setParam(name, params.value(name));
            if (!isSelect(statement)) {
                query.execSql();
                continue;
            }
            query.open();
            if (printed)
                context.out << '\n';
            printResult(query, context.out);
            printed = true;
            query.close();
        }
    } catch (const engine::EngineError &error) {
        context.out.flush();
        context.err << error.message() << '\n';
        return 1;
    }
    return 0;
}

const CommandRegistrar registrar({
    QStringLiteral("sql"),
    QStringLiteral("sql \"TEXT\" [--param NAME=VALUE ...] [--header-table]"),
    QStringLiteral("runs a statement or script on QPNdata/ (or on HeadM's folder) and prints results as CSV"),
    &runSql,
});

} // namespace

} // namespace qpn::cli
