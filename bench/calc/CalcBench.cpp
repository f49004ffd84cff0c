// The batch calculation over a generated register: a full recalculation under
// each subsidy rule and a protected run, timed, against the floor of writing
// the same number of year rows with one prepared SQLite statement in one
// transaction; the peak memory of the process is printed at the end.
//
//   qpn_bench_calc [ASSETS] [FOLDER]      (default 20000 assets, a temporary folder)
//
// The register: all four methods, lives 2 to 50, bought 1990 to 2025, one in
// ten with a national subsidy, some disposed and some partly disposed, fiscal
// year 2025 from 1 April.
#include "depreciation/BatchRun.h"
#include "depreciation/RateTable.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "lib/Currency.h"
#include "lib/Dialogs.h"
#include "store/SchemaMaker.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <random>

using namespace qpn;

namespace
{

constexpr int FiscalYear = 2025;

// Answers the recalculation question with Yes and counts the other messages
// (the passes' own, such as an amount under one yen) without printing them.
class QuietDialogs final : public Dialogs
{
public:
    DialogButton message(DialogKind, const QString &, const QList<DialogButton> &buttons,
                         const QString &) override
    {
        if (buttons.size() > 1)
            return buttons.contains(DialogButton::Yes) ? DialogButton::Yes : buttons.first();
        ++messages;
        return buttons.isEmpty() ? DialogButton::Ok : buttons.first();
    }
    bool prompt(const QString &, const QString &, QString &, bool) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }

    int messages = 0;
};

struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing measure(const std::function<void()> &work)
{
    timespec start{}, end{};
    QElapsedTimer wall;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    wall.start();
    work();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    return {wall.nsecsElapsed() / 1e9,
            double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9};
}

// The peak resident set of the process in MB (VmHWM), and its reset, so each
// phase reports its own peak.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QVariant Money(qint64 yen)
{
    return QVariant::fromValue(Currency::fromYen(yen));
}

void generate(int assets)
{
    std::mt19937 random(20250401);
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };

    engine::Database &database = *engine::Database::find(QStringLiteral("AAA"));
    engine::Query insert;
    insert.setDatabaseName(QStringLiteral("AAA"));
    insert.setSql(QStringLiteral(
        "insert into daicyoA (ID, houhou_ID, houhou2_ID, \"品名\", \"購入日\", \"購入価格\", "
        "\"償却年数\", \"残率\", "
        "yobi3_ID, \"国補積立金\", \"国補期首簿価\", \"廃棄日\", \"一部除却日\", \"一部除却額\") "
        "values (:ID, :M, 0, :N, :D, :P, :L, :R, :Y3, :S, :SB, :X, :PD, :PA)"));
    // A table joins a transaction only once it is attached: keep it open.
    engine::Table attached;
    attached.setDatabaseName(QStringLiteral("AAA"));
    attached.setTableName(QStringLiteral("daicyoA"));
    attached.open();
    database.startTransaction();
    for (int id = 1; id <= assets; ++id) {
        const int method = id % 10 < 5 ? 0 : id % 10 < 8 ? 1 : id % 10 < 9 ? 2 : 3;
        const QDate bought(pick(1990, 2025), pick(1, 12), pick(1, 28));
        const qint64 price = qint64(pick(10, 5000)) * 10000;
        const int life = pick(2, 50);
        insert.setParam(QStringLiteral("ID"), id);
        insert.setParam(QStringLiteral("M"), method);
        insert.setParam(QStringLiteral("N"), QStringLiteral("資産%1").arg(id));
        insert.setParam(QStringLiteral("D"), bought);
        insert.setParam(QStringLiteral("P"), Money(price));
        insert.setParam(QStringLiteral("L"), life);
        insert.setParam(QStringLiteral("R"),
                        method == 0 && bought < QDate(2007, 4, 1) && id % 2 == 0 ? 0.1 : 0.0);
        insert.setParam(QStringLiteral("Y3"), id % 7 == 0 ? 0 : 1);
        const bool subsidy = id % 10 == 3;
        insert.setParam(QStringLiteral("S"), subsidy ? Money(price * 3 / 10) : QVariant());
        insert.setParam(QStringLiteral("SB"), QVariant());
        // One in twenty disposed after its purchase; one in twenty-five partly
        // disposed during the current fiscal year.
        QVariant disposed;
        if (id % 20 == 7) {
            const QDate at = bought.addDays(pick(30, 12000));
            if (at < QDate(FiscalYear + 1, 3, 31))
                disposed = at;
        }
        insert.setParam(QStringLiteral("X"), disposed);
        const bool partly =
            id % 25 == 11 && bought < QDate(FiscalYear, 4, 1) && !disposed.isValid();
        insert.setParam(QStringLiteral("PD"),
                        partly ? QVariant(QDate(FiscalYear, pick(4, 12), 1)) : QVariant());
        insert.setParam(QStringLiteral("PA"), partly ? Money(price / 4) : QVariant());
        insert.execSql();
    }
    database.commit();
}

int yearRowCount(const QString &data)
{
    engine::Query count;
    count.setDatabaseName(data);
    count.setSql(QStringLiteral("select count(*) as N from daicyoB"));
    count.open();
    return count.fieldByName(QStringLiteral("N")).asInteger();
}

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// The floor: the year rows' 25 columns, key and index on a plain table,
// written with one prepared statement in one transaction.
Timing floorWrite(const QString &path, int rows)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db);
    check(sqlite3_exec(db,
                       "CREATE TABLE B (ID INTEGER, Sub INTEGER, Nendo INTEGER, c4 INTEGER, c5 "
                       "INTEGER, c6 INTEGER, "
                       "c7 INTEGER, c8 INTEGER, c9 INTEGER, c10 INTEGER, c11 INTEGER, c12 INTEGER, "
                       "c13 INTEGER, "
                       "c14 INTEGER, c15 INTEGER, c16 INTEGER, c17 INTEGER, F1 INTEGER, F2 "
                       "INTEGER, F3 INTEGER, "
                       "c21 INTEGER, c22 INTEGER, c23 INTEGER, c24 INTEGER, c25 INTEGER, PRIMARY "
                       "KEY (ID, Sub));"
                       "CREATE INDEX NendoInx ON B (ID, Nendo);",
                       nullptr, nullptr, nullptr),
          db);
    sqlite3_stmt *insert = nullptr;
    QByteArray sql = "INSERT INTO B VALUES (?";
    for (int c = 1; c < 25; ++c)
        sql += ",?";
    sql += ")";
    check(sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr), db);
    constexpr int PerAsset = 20;
    const Timing timing = measure([&] {
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        for (int row = 0; row < rows; ++row) {
            sqlite3_bind_int64(insert, 1, row / PerAsset + 1);
            sqlite3_bind_int64(insert, 2, row % PerAsset);
            sqlite3_bind_int64(insert, 3, 2000 + row % PerAsset);
            for (int c = 4; c <= 25; ++c) {
                if (c <= 16 || c >= 21)
                    sqlite3_bind_int64(insert, c, qint64(row) * 10000 + c);
                else
                    sqlite3_bind_null(insert, c);
            }
            sqlite3_bind_int64(insert, 18, 1);
            check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    });
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return timing;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int assets = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir temporary;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    const QString data = QDir(base).filePath(QStringLiteral("QPNdata"));
    QDir().mkpath(data);

    QuietDialogs dialogs;
    const ScopedDialogs scope(dialogs);
    SchemaMaker maker;
    maker.MakeHeadM(base);
    maker.MakeTBL(data);
    engine::Database database(engine::Session::defaultSession(), QStringLiteral("AAA"), data);
    LoadRateTable();
    AppOptionsData &options = AppOptions();
    options.setFiscalStart(EncodeDate(FiscalYear, 4, 1));
    options.FiscalEnd = EncodeDate(FiscalYear + 1, 3, 31);
    options.StraightLineBasis = 1;
    options.RoundingMode = 1;
    options.TransitionYear = 2012;

    const Timing made = measure([&] { generate(assets); });
    std::printf("register: %d assets generated in %.2f s (%s)\n", assets, made.wall,
                qPrintable(base));
    std::printf("%-34s %10s %10s %10s %10s %9s\n", "run", "wall s", "cpu s", "assets/s", "rows",
                "peak MB");

    BatchRun batch(database);
    int rows = 0;
    double recalculation = 0;
    const auto run = [&](const char *name, int subsidyRule, BatchRun::Choice choice) {
        options.SubsidyResidual = subsidyRule;
        dialogs.messages = 0;
        resetPeak();
        BatchRun::Outcome outcome = BatchRun::Outcome::Stopped;
        const Timing t = measure([&] { outcome = batch.run(choice); });
        rows = yearRowCount(data);
        if (choice == BatchRun::Recalculate)
            recalculation = t.wall;
        std::printf("%-34s %10.2f %10.2f %10.0f %10d %9.1f%s\n", name, t.wall, t.cpu,
                    batch.assetsCalculated() / t.wall, rows, peakMegabytes(),
                    outcome == BatchRun::Outcome::Completed ? "" : "  (did not complete)");
        if (dialogs.messages > 0)
            std::printf("%-34s %d messages of the passes\n", "", dialogs.messages);
    };
    run("calc --recalculate, subsidy rule 0", 0, BatchRun::Recalculate);
    run("calc (protected), subsidy rule 0", 0, BatchRun::Protect);
    run("calc --recalculate, subsidy rule 1", 1, BatchRun::Recalculate);
    run("calc --recalculate, subsidy rule 2", 2, BatchRun::Recalculate);
    run("calc (protected), subsidy rule 2", 2, BatchRun::Protect);

    resetPeak();
    const Timing floorTiming =
        floorWrite(QDir(base).filePath(QStringLiteral("floor.sqlite")), rows);
    std::printf("%-34s %10.2f %10.2f %10s %10d %9.1f\n", "floor: one prepared INSERT",
                floorTiming.wall, floorTiming.cpu, "", rows, peakMegabytes());
    std::printf("last recalculation / floor: %.1fx (wall)\n", recalculation / floorTiming.wall);
    return 0;
}
