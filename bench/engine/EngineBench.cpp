// Appends and updates rows shaped like the year rows (daicyoB) through the
// table object and through one prepared raw SQLite statement, each in one
// transaction, and prints rows per second and the ratio of the two.
//
//   qpn_bench_engine [ROWS] [FOLDER]      (default 500000 rows, a temporary folder)
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Schema.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "lib/Currency.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace qpn;
using namespace qpn::engine;

namespace {

TableSchema yearRows(const QString &name)
{
    TableSchema schema;
    schema.name = name;
    const auto money = [](const char *column) { return ColumnDef{QString::fromUtf8(column), FieldType::Money, 0}; };
    const auto integer = [](const char *column) { return ColumnDef{QString::fromUtf8(column), FieldType::Integer, 0}; };
    schema.columns = {integer("ID"), integer("Sub"), integer("Nendo"),
                      money("期首残高"), money("期末残高"), money("当年償却額"), money("期首償却累計"),
                      money("期末償却累計"), money("国補期首残高"), money("国補期末残高"), money("国補当年取崩額"),
                      money("国補期首取崩累計"), money("国補期末取崩累計"), money("変更償却額"), money("kin1"),
                      money("kin2"), money("kin3"), integer("F1"), integer("F2"), integer("F3"),
                      money("一部除却額"), money("除却後購入価格B"), money("一部除却額国"), money("除却後購入価格B国"),
                      money("国補期首調整２３")};
    schema.primaryKey = {"ID", "Sub"};
    schema.indexes = {IndexDef{"NendoInx", {"ID", "Nendo"}, false}};
    schema.userMajorVersion = 1;
    return schema;
}

constexpr int SubsPerAsset = 10;

// Processor time of the work: the machine the figures come from is shared,
// and both sides write the same bytes, so waiting says nothing about either.
double seconds(const std::function<void()> &work)
{
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9;
}

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

double objectAppend(Database &database, int rows)
{
    Table table;
    table.setDatabaseName(database.name());
    table.setTableName("daicyoB");
    table.open();
    std::vector<Field *> fields;
    for (int i = 0; i < table.fieldCount(); ++i)
        fields.push_back(&table.field(i));
    return seconds([&] {
        database.startTransaction();
        for (int row = 0; row < rows; ++row) {
            table.append();
            fields[0]->setAsInteger(row / SubsPerAsset + 1);
            fields[1]->setAsInteger(row % SubsPerAsset);
            fields[2]->setAsInteger(2000 + row % SubsPerAsset);
            for (int c = 3; c < 17; ++c)
                fields[size_t(c)]->setAsCurrency(Currency::fromUnits(qint64(row) * 10000 + c));
            fields[17]->setAsInteger(1);
            table.post();
        }
        database.commit();
    });
}

double objectUpdate(Database &database)
{
    Table table;
    table.setDatabaseName(database.name());
    table.setTableName("daicyoB");
    table.open();
    Field &amount = table.fieldByName("当年償却額");
    Field &closing = table.fieldByName("期末残高");
    return seconds([&] {
        database.startTransaction();
        for (table.first(); !table.eof(); table.next()) {
            table.edit();
            amount.setAsCurrency(amount.asCurrency() + Currency::fromYen(1));
            closing.setAsCurrency(Currency::fromYen(7));
            table.post();
        }
        database.commit();
    });
}

double rawAppend(const QString &path, int rows)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db);
    sqlite3_stmt *insert = nullptr;
    QStringList marks;
    for (int i = 0; i < 25; ++i)
        marks << "?";
    const QByteArray sql = QStringLiteral("INSERT INTO daicyoB VALUES(%1)").arg(marks.join(',')).toUtf8();
    check(sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr), db);
    const double elapsed = seconds([&] {
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        for (int row = 0; row < rows; ++row) {
            sqlite3_bind_int64(insert, 1, row / SubsPerAsset + 1);
            sqlite3_bind_int64(insert, 2, row % SubsPerAsset);
            sqlite3_bind_int64(insert, 3, 2000 + row % SubsPerAsset);
            for (int c = 3; c < 17; ++c)
                sqlite3_bind_int64(insert, c + 1, qint64(row) * 10000 + c);
            for (int c = 17; c < 25; ++c)
                sqlite3_bind_null(insert, c + 1);
            sqlite3_bind_int64(insert, 18, 1);
            check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    });
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return elapsed;
}

double rawUpdate(const QString &path, int rows)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db);
    sqlite3_stmt *update = nullptr;
    check(sqlite3_prepare_v2(db,
                             "UPDATE daicyoB SET \"当年償却額\" = \"当年償却額\" + 10000, \"期末残高\" = ? "
                             "WHERE ID = ? AND Sub = ?",
                             -1, &update, nullptr),
          db);
    const double elapsed = seconds([&] {
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        for (int row = 0; row < rows; ++row) {
            sqlite3_bind_int64(update, 1, 70000);
            sqlite3_bind_int64(update, 2, row / SubsPerAsset + 1);
            sqlite3_bind_int64(update, 3, row % SubsPerAsset);
            check(sqlite3_step(update), db);
            sqlite3_reset(update);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    });
    sqlite3_finalize(update);
    sqlite3_close(db);
    return elapsed;
}

void report(const char *what, int rows, double object, double raw)
{
    std::printf("%-7s table object %9.0f rows/s (%6.2f s)   raw statement %9.0f rows/s (%6.2f s)   ratio %.2f\n", what,
                rows / object, object, rows / raw, raw, object / raw);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 500000;
    QTemporaryDir temporary;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    const QString objectFolder = base + "/object";
    const QString rawFolder = base + "/raw";
    QDir().mkpath(objectFolder);
    QDir().mkpath(rawFolder);

    Session session("BENCH");
    Database objects(session, "OBJ", objectFolder);
    Database raws(session, "RAW", rawFolder);
    for (Database *database : {&objects, &raws}) {
        Table table;
        table.setDatabaseName(database->name());
        table.setTableName("daicyoB");
        if (table.exists())
            table.deleteTable();
        table.createTable(yearRows("daicyoB"));
    }
    const QString rawPath = rawFolder + "/daicyoB.DAT";
    {
        // The raw side is a plain SQLite table: same columns and indexes, no checking triggers.
        sqlite3 *db = nullptr;
        check(sqlite3_open(rawPath.toUtf8().constData(), &db), db);
        check(sqlite3_exec(db, "DROP TRIGGER qpn_check_insert; DROP TRIGGER qpn_check_update", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
    }
    // A third argument "object" runs only the table-object side, for profiling.
    const bool objectOnly = argc > 3 && QByteArray(argv[3]) == "object";
    const double appendObject = objectAppend(objects, rows);
    const double appendRaw = objectOnly ? 1 : rawAppend(rawPath, rows);
    const double updateObject = objectUpdate(objects);
    const double updateRaw = objectOnly ? 1 : rawUpdate(rawPath, rows);
    std::printf("%d rows shaped like daicyoB, one transaction each (processor time)\n", rows);
    report("append", rows, appendObject, appendRaw);
    report("update", rows, updateObject, updateRaw);
    return 0;
}
