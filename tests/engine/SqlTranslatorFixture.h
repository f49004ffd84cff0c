#pragma once

#include "engine/SqlTranslator.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

struct sqlite3;

namespace qpn::engine::testing {

// A folder of table files run the way the engine runs translated statements:
// each table is its own SQLite file, attached under the alias the translation
// gives it for the one statement. Results come back as text, money in yen,
// null as "NULL", so tests read like the register's lists.
class SqlScratchDatabase
{
public:
    SqlScratchDatabase();
    ~SqlScratchDatabase();

    SchemaLookup lookup() const;
    std::optional<TableSchema> schema(const QString &table) const;

    // Runs every statement of a script (data definition included).
    void runScript(const QString &script);
    // Runs one statement; returns the translation it ran.
    Translation run(const QString &statement, const QVariantMap &params = {});
    // Runs a SELECT; each row holds the result columns (without "__rowid").
    QList<QStringList> rows(const QString &statement, const QVariantMap &params = {});
    // The rowid values of a single-table SELECT's hidden last column.
    QList<qint64> rowIds(const QString &statement);

private:
    QString fileOf(const QString &table) const;
    void exec(const QString &sql);
    void attach(const Translation &translation);
    void detach(const Translation &translation);
    QList<QStringList> step(const Translation &translation, const QVariantMap &params,
                            QList<qint64> *rowIds);

    QTemporaryDir m_dir;
    sqlite3 *m_db = nullptr;
    QMap<QString, TableSchema> m_schemas; // lower-case name
};

// The oldest layout of the register's data tables: daicyoA columns 1 to 38,
// daicyoB 1 to 20, kamoku without kubun, Bumon without kyoten_ID.
QString OldestLayoutScript();
// The header table's script.
QString HeadMScript();
// The twelve column upgrades, in order.
QStringList UpgradeStatements();

} // namespace qpn::engine::testing
