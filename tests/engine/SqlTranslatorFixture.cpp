#include "SqlTranslatorFixture.h"

#include "engine/EngineError.h"

#include <QDate>
#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace qpn::engine::testing {

namespace {

struct StatementDeleter
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

QString YenText(qint64 units)
{
    const bool negative = units < 0;
    const qint64 magnitude = negative ? -units : units;
    QString text = QString::number(magnitude / 10000);
    QString fraction = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QChar(u'0'));
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    return negative ? u'-' + text : text;
}

} // namespace

SqlScratchDatabase::SqlScratchDatabase()
{
    if (sqlite3_open(":memory:", &m_db) != SQLITE_OK)
        throw std::runtime_error("cannot open SQLite");
}

SqlScratchDatabase::~SqlScratchDatabase()
{
    sqlite3_close(m_db);
}

SchemaLookup SqlScratchDatabase::lookup() const
{
    return [this](const QString &table) { return schema(table); };
}

std::optional<TableSchema> SqlScratchDatabase::schema(const QString &table) const
{
    const auto found = m_schemas.constFind(table.toLower());
    if (found == m_schemas.constEnd())
        return std::nullopt;
    return *found;
}

QString SqlScratchDatabase::fileOf(const QString &table) const
{
    return m_dir.filePath(table.toLower() + QStringLiteral(".DAT"));
}

void SqlScratchDatabase::exec(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        throw std::runtime_error(QStringLiteral("SQLite: %1 in %2").arg(message, sql).toStdString());
    }
}

void SqlScratchDatabase::attach(const Translation &translation)
{
    for (const TableRef &table : translation.tables) {
        QString file = fileOf(table.name);
        file.replace(u'\'', QLatin1String("''"));
        exec(QStringLiteral("ATTACH DATABASE '%1' AS \"%2\"").arg(file, table.alias));
        // Scratch files: durability is not what these tests are about.
        exec(QStringLiteral("PRAGMA \"%1\".synchronous = OFF; PRAGMA \"%1\".journal_mode = MEMORY")
                 .arg(table.alias));
    }
}

void SqlScratchDatabase::detach(const Translation &translation)
{
    for (const TableRef &table : translation.tables)
        exec(QStringLiteral("DETACH DATABASE \"%1\"").arg(table.alias));
}

void SqlScratchDatabase::runScript(const QString &script)
{
    for (const QString &statement : SplitScript(script))
        run(statement);
}

Translation SqlScratchDatabase::run(const QString &statement, const QVariantMap &params)
{
    const Translation translation = TranslateStatement(statement, lookup());
    switch (translation.kind) {
    case StatementKind::CreateTable:
        if (schema(translation.createdTable.name))
            return translation; // IF NOT EXISTS; a plain CREATE is the engine's to refuse
        break;
    case StatementKind::DropTable:
        if (!translation.tables.isEmpty()) {
            m_schemas.remove(translation.tables[0].name.toLower());
            QFile::remove(fileOf(translation.tables[0].name));
        }
        return translation;
    default:
        break;
    }
    attach(translation);
    try {
        step(translation, params, nullptr);
    } catch (...) {
        detach(translation);
        throw;
    }
    detach(translation);
    switch (translation.kind) {
    case StatementKind::CreateTable:
        m_schemas.insert(translation.createdTable.name.toLower(), translation.createdTable);
        break;
    case StatementKind::AlterTableAdd:
        m_schemas[translation.tables[0].name.toLower()].columns.append(translation.addedColumns);
        break;
    case StatementKind::CreateIndex:
        m_schemas[translation.indexTable.toLower()].indexes.append(translation.index);
        break;
    default:
        break;
    }
    return translation;
}

QList<QStringList> SqlScratchDatabase::rows(const QString &statement, const QVariantMap &params)
{
    const Translation translation = TranslateStatement(statement, lookup());
    attach(translation);
    QList<QStringList> result;
    try {
        result = step(translation, params, nullptr);
    } catch (...) {
        detach(translation);
        throw;
    }
    detach(translation);
    return result;
}

QList<qint64> SqlScratchDatabase::rowIds(const QString &statement)
{
    const Translation translation = TranslateStatement(statement, lookup());
    QList<qint64> ids;
    attach(translation);
    step(translation, {}, &ids);
    detach(translation);
    return ids;
}

QList<QStringList> SqlScratchDatabase::step(const Translation &translation,
                                            const QVariantMap &params, QList<qint64> *rowIds)
{
    QList<QStringList> result;
    // ALTER TABLE comes as several statements.
    for (const QString &sql : translation.sql.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        sqlite3_stmt *raw = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &raw, nullptr) != SQLITE_OK)
            throw std::runtime_error(QStringLiteral("SQLite: %1 in %2")
                                         .arg(QString::fromUtf8(sqlite3_errmsg(m_db)), sql)
                                         .toStdString());
        StatementPtr prepared(raw);
        for (const ParamUse &use : translation.params) {
            const int index =
                sqlite3_bind_parameter_index(raw, (u':' + use.name).toUtf8().constData());
            QVariant value;
            for (auto it = params.constBegin(); it != params.constEnd(); ++it)
                if (it.key().compare(use.name, Qt::CaseInsensitive) == 0)
                    value = it.value();
            if (index == 0 || !value.isValid()) {
                continue;
            } else if (use.type == FieldType::Money) {
                sqlite3_bind_int64(raw, index, qRound64(value.toDouble() * 10000));
            } else if (value.typeId() == QMetaType::QDate) {
                sqlite3_bind_text(raw, index, value.toDate().toString(Qt::ISODate).toUtf8().constData(),
                                  -1, SQLITE_TRANSIENT);
            } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
                sqlite3_bind_int64(raw, index, value.toLongLong());
            } else if (value.typeId() == QMetaType::Double) {
                sqlite3_bind_double(raw, index, value.toDouble());
            } else {
                sqlite3_bind_text(raw, index, value.toString().toUtf8().constData(), -1,
                                  SQLITE_TRANSIENT);
            }
        }
        const int expected = int(translation.columns.size()) + (translation.hasRowId ? 1 : 0);
        if (translation.kind == StatementKind::Select && sqlite3_column_count(raw) != expected)
            throw std::runtime_error("result column count differs from the translation");
        int rc;
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            QStringList row;
            for (qsizetype i = 0; i < translation.columns.size(); ++i) {
                const int column = int(i);
                if (sqlite3_column_type(raw, column) == SQLITE_NULL)
                    row.append(QStringLiteral("NULL"));
                else if (translation.columns[i].definition.type == FieldType::Money)
                    row.append(YenText(sqlite3_column_int64(raw, column)));
                else
                    row.append(QString::fromUtf8(
                        reinterpret_cast<const char *>(sqlite3_column_text(raw, column))));
            }
            if (rowIds && translation.hasRowId)
                rowIds->append(sqlite3_column_int64(raw, int(translation.columns.size())));
            result.append(row);
        }
        if (rc != SQLITE_DONE)
            throw std::runtime_error(QStringLiteral("SQLite: %1 in %2")
                                         .arg(QString::fromUtf8(sqlite3_errmsg(m_db)), sql)
                                         .toStdString());
    }
    return result;
}

QString HeadMScript()
{
    return QStringLiteral(R"(/* corporation header */
CREATE TABLE IF NOT EXISTS "HeadM"
(
   "meisyou" Char(50), "name" Char(20), "yuubin" Char(10), "jyuusyo" Char(34), "denwa" Char(12),
   "KisyuDate" Date, "KimatuDate" Date, "protect" Char(10), "Password" char(10),
   "PathName1" Char(100), "PathName2" Char(100),
   "PM1" INTEGER, "PM2" INTEGER, "PM3" INTEGER, "PM4" INTEGER, "PM5" INTEGER,
   "PM6" INTEGER, "PM7" INTEGER, "PM8" INTEGER, "PM9" INTEGER, "PM10" INTEGER,
   "年度" INTEGER,
   "職印１" CHARACTER(6), "職印２" CHARACTER(6), "職印３" CHARACTER(6), "職印４" CHARACTER(6), "職印５" CHARACTER(6)
)
LANGUAGE "ANSI Standard" SORT "Default Order";
)");
}

QString OldestLayoutScript()
{
    return QStringLiteral(R"(/* departments */
CREATE TABLE IF NOT EXISTS "Bumon"
( "ID" SMALLINT, "Bumon" VARCHAR(40), PRIMARY KEY ("ID") COMPRESS FULL )
LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1;

/* assets */
CREATE TABLE IF NOT EXISTS "daicyoA"
(
   "ID" INTEGER, "kamoku_ID" INTEGER, "bumon_ID" INTEGER, "houhou_ID" INTEGER, "houhou2_ID" INTEGER,
   "品名" VARCHAR(40), "購入日" DATE, "廃棄日" DATE, "数量" INTEGER,
   "購入価格" MONEY, "償却額" MONEY, "期首償却累計" MONEY, "期末償却累計" MONEY,
   "期首簿価" MONEY, "期末簿価" MONEY, "国補積立金" MONEY, "国補取崩額" MONEY,
   "国補期首取崩累計" MONEY, "国補期末取崩累計" MONEY, "国補期首簿価" MONEY, "国補期末簿価" MONEY,
   "償却年数" FLOAT, "経過年数" FLOAT, "残年数" FLOAT, "償却率" FLOAT, "残率" FLOAT, "国補残率" FLOAT,
   "償却月数" INTEGER, "flg" BOOLEAN, "flg2" BOOLEAN, "kin1" MONEY, "kin2" MONEY, "kin3" MONEY,
   "yobi1_ID" INTEGER, "yobi2_ID" INTEGER, "yobi3_ID" INTEGER, "bikou" MEMO, "kisyuzan1" MONEY,
   PRIMARY KEY ("ID") COMPRESS NONE
)
LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1;

/* one row per asset and fiscal year */
CREATE TABLE IF NOT EXISTS "daicyoB"
(
   "ID" INTEGER, "Sub" INTEGER, "Nendo" INTEGER,
   "期首残高" MONEY, "期末残高" MONEY, "当年償却額" MONEY, "期首償却累計" MONEY, "期末償却累計" MONEY,
   "国補期首残高" MONEY, "国補期末残高" MONEY, "国補当年取崩額" MONEY, "国補期首取崩累計" MONEY,
   "国補期末取崩累計" MONEY, "変更償却額" MONEY, "kin1" MONEY, "kin2" MONEY, "kin3" MONEY,
   "F1" INTEGER, "F2" INTEGER, "F3" INTEGER,
   PRIMARY KEY ("ID","Sub") COMPRESS NONE
)
LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1;

CREATE INDEX IF NOT EXISTS "NendoInx" ON "daicyoB" ("ID","Nendo");

CREATE TABLE IF NOT EXISTS "kamoku"
( "ID" SMALLINT, "kamokumei" VARCHAR(30), PRIMARY KEY ("ID") COMPRESS FULL )
LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1;

CREATE TABLE IF NOT EXISTS "Ukeire"
( "ID" SMALLINT, "Ukeire" VARCHAR(40), PRIMARY KEY ("ID") COMPRESS FULL )
LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1;

CREATE TABLE IF NOT EXISTS "kyoten"
( "kyotenID" SMALLINT, "kyotenmei" VARCHAR(40), PRIMARY KEY ("kyotenID") COMPRESS FULL )
LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1;
)");
}

QStringList UpgradeStatements()
{
    return {
        QStringLiteral(R"(Alter Table daicyoA Add "固定償却額" Money )"),
        QStringLiteral(R"(Alter Table daicyoA Add "Master1_ID" integer, add "Master2_ID" integer, add "Master3_ID" integer, add "SubID" Varchar(40) )"),
        QStringLiteral(R"(Alter Table daicyoA Add "除却後購入価格" Money, add"一部除却日" Date, add"一部除却額" Money, Add"除却後購入価格国" Money )"),
        QStringLiteral(R"(Alter Table daicyoA Add "一部除却額国Ａ" Money )"),
        QStringLiteral(R"(Alter Table daicyoB Add "一部除却額" Money, add"除却後購入価格B" Money,Add "一部除却額国" Money, add"除却後購入価格B国" Money )"),
        QStringLiteral(R"(Alter Table daicyoA Add "国補期首調整２３" Money )"),
        QStringLiteral(R"(Alter Table daicyoA Add "国補期首調整後額" Money )"),
        QStringLiteral(R"(Alter Table daicyoB Add "国補期首調整２３" Money )"),
        QStringLiteral(R"(Alter Table daicyoA Add "一部除却期首額" Money, add"一部除却期首額国" Money, add"一部除却期首累計額" Money, add"一部除却期首累計額国" Money )"),
        QStringLiteral(R"(Alter Table kamoku Add "kubun" Integer )"),
        QStringLiteral(R"(Alter Table bumon Add "kyoten_ID" Integer )"),
        QStringLiteral(R"(Alter Table daicyoA Add "kyoten_ID" Integer )"),
    };
}

} // namespace qpn::engine::testing
