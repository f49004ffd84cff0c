#include "cli/CliCommand.h"

#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/DateFormat.h"

namespace qpn::cli {

namespace {

QString valueText(const engine::Field &field)
{
    if (field.isNull())
        return {};
    if (field.dataType() == engine::FieldType::Date || field.dataType() == engine::FieldType::DateTime)
        return FormatDateTime(QStringLiteral("yyyy/mm/dd"), field.asDateTime());
    return field.asString();
}

// Prints the header row as "column,value" lines: the corporation name, the
// fiscal start and end, the options PM1 to PM10 and the transition year.
int runHeader(CliContext &context)
{
    if (!context.args.isEmpty()) {
        context.err << "usage: qpn [--base DIR] header\n";
        return 2;
    }
    engine::Table head;
    head.setDatabaseName(context.baseFolder);
    head.setTableName(QStringLiteral("HeadM"));
    if (!head.exists()) {
        context.err << "実行できる環境ではありませんので、終了します。\n";
        return 1;
    }
    head.open();
    head.first();
    QStringList columns{QStringLiteral("meisyou"), QStringLiteral("KisyuDate"), QStringLiteral("KimatuDate")};
    for (int i = 1; i <= 10; ++i)
        columns << QStringLiteral("PM%1").arg(i);
    columns << QStringLiteral("年度");
    const bool noRow = head.isEmpty();
    for (const QString &column : columns)
        context.out << column << ',' << (noRow ? QString() : valueText(head.fieldByName(column))) << '\n';
    head.close();
    return 0;
}

const CommandRegistrar registrar({QStringLiteral("header"), QStringLiteral("header"),
                                  QStringLiteral("prints the header row (name, fiscal period, PM1..PM10, 年度) as "
                                                 "column,value lines"),
                                  &runHeader});

} // namespace

} // namespace qpn::cli
