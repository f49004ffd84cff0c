#include "store/SchemaMaker.h"

#include "engine/Query.h"
#include "engine/Table.h"
#include "lib/Dialogs.h"
#include "store/SchemaScripts.h"
#include "store/SeedLists.h"

namespace qpn {

namespace {

void execute(const QString &folder, const QString &sql)
{
    engine::Query query;
    query.setDatabaseName(folder);
    query.setSql(sql);
    query.execSql();
}

void openTable(engine::Table &table, const QString &folder, const QString &name)
{
    table.setDatabaseName(folder);
    table.setTableName(name);
    table.open();
}

// Appends one row per "code,name" line, the pieces going to the fields in
// table order; fields beyond the pieces stay null.
void seed(engine::Table &table, const QStringList &lines)
{
    for (const QString &line : lines) {
        const QStringList pieces = line.split(QLatin1Char(','));
        table.append();
        for (int i = 0; i < pieces.size() && i < table.fieldCount(); ++i)
            table.field(i).setAsString(pieces.at(i));
        table.post();
    }
}

void seedIfEmpty(const QString &folder, const QString &tableName, const QStringList &lines)
{
    engine::Table table;
    openTable(table, folder, tableName);
    if (table.isEmpty())
        seed(table, lines);
    table.close();
}

} // namespace

void SchemaMaker::MakeHeadM(const QString &baseFolder)
{
    execute(baseFolder, HeadMScript());
}

void SchemaMaker::MakeTBL(const QString &dataFolder)
{
    execute(dataFolder, DataTablesScript());
    runUpgradeSteps(dataFolder);
    seedAccounts(dataFolder);
    seedIfEmpty(dataFolder, QStringLiteral("Bumon"), PlaceholderList());
    seedIfEmpty(dataFolder, QStringLiteral("Ukeire"), PlaceholderList());
}

void SchemaMaker::runUpgradeSteps(const QString &dataFolder)
{
    m_appliedSteps.clear();
    for (const UpgradeStep &step : UpgradeSteps()) {
        engine::Table table;
        openTable(table, dataFolder, step.table);
        const bool missing = table.findField(step.testColumn) == nullptr;
        table.close();
        if (!missing)
            continue;
        execute(dataFolder, step.statement);
        m_appliedSteps.append(step.number);
    }
}

void SchemaMaker::seedAccounts(const QString &dataFolder)
{
    engine::Table kamoku;
    openTable(kamoku, dataFolder, QStringLiteral("kamoku"));
    if (kamoku.isEmpty()) {
        // The line feed before the carriage return is how the text has always read.
        const DialogButton answer = MessageDlg(
            QStringLiteral("社会福祉法人の場合は はい[Y] を選択してください。それ以外の学校法人・公益法人等は "
                           "いいえ[N] を選んでください。\n\r科目区分は後で修正が出来ます。"),
            DialogKind::Warning, {DialogButton::Yes, DialogButton::No, DialogButton::Cancel});
        seed(kamoku, answer == DialogButton::Yes ? SocialWelfareAccounts() : SchoolAccounts());
    }
    kamoku.close();
}

} // namespace qpn
