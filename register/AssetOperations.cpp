#include "register/AssetOperations.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/CalculationStopped.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "export/CsvImport.h"
#include "lib/AppOptions.h"
#include "lib/Dialogs.h"
#include "register/AssetLayouts.h"

#include <QDate>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <vector>

namespace qpn {

namespace {

QString conditions(const AssetOperations::SearchCriteria &criteria)
{
    QString sql;
    if (criteria.bumon)
        sql += QStringLiteral(" and bumon_ID=:BUMON");
    if (criteria.kamoku)
        sql += QStringLiteral(" and kamoku_ID=:KAMOKU");
    if (criteria.disposedOnly)
        sql += QStringLiteral(" and \"廃棄日\" is not null");
    else if (!criteria.includeDisposed)
        sql += QStringLiteral(" and \"廃棄日\" is null");
    // The name is a parameter: a quote in it searches for a quote.
    if (!criteria.name.isEmpty())
        sql += QStringLiteral(" and \"品名\" like :NAME");
    return sql;
}

void bind(engine::Query &query, const AssetOperations::SearchCriteria &criteria)
{
    if (criteria.bumon)
        query.setParam(QStringLiteral("BUMON"), *criteria.bumon);
    if (criteria.kamoku)
        query.setParam(QStringLiteral("KAMOKU"), *criteria.kamoku);
    if (!criteria.name.isEmpty())
        query.setParam(QStringLiteral("NAME"), QStringLiteral("%") + criteria.name + QStringLiteral("%"));
}

// A year row still being typed in is saved before the asset moves or the
// tables close: a detail in editing would neither follow its asset nor keep
// the typed amount.
void saveEdits(engine::Table &years, engine::Table &assets)
{
    if (years.active())
        years.checkBrowseMode();
    assets.checkBrowseMode();
}

} // namespace

AssetOperations::AssetOperations(const QString &database)
    : m_database(database)
    , m_assets(std::make_unique<engine::Table>())
    , m_years(std::make_unique<engine::Table>())
{
    m_assets->setDatabaseName(database);
    m_assets->setTableName(QStringLiteral("daicyoA"));
    m_years->setDatabaseName(database);
    m_years->setTableName(QStringLiteral("daicyoB"));
    m_years->setFilter(QStringLiteral("nendo>=%1").arg(AppOptions().FiscalYear));
}

AssetOperations::~AssetOperations() = default;

engine::Database &AssetOperations::database()
{
    if (engine::Database *found = engine::Database::find(m_database))
        return *found;
    if (!m_ownDatabase)
        m_ownDatabase = std::make_unique<engine::Database>(engine::Session::defaultSession(),
                                                           QStringLiteral("__asset_operations"), m_database);
    return *m_ownDatabase;
}

void AssetOperations::open()
{
    m_assets->open();
    m_years->setMasterSource(m_assets.get(), QStringLiteral("ID"), QStringLiteral("ID"));
    m_years->open();
}

void AssetOperations::close()
{
    m_years->close();
    m_assets->close();
    m_mode = Mode::Browse;
}

QString AssetOperations::showAsset()
{
    engine::Table &a = *m_assets;
    if (!a.isEmpty() && a.state() == engine::DatasetState::Browse && !a.fieldByName(QStringLiteral("yobi2_ID")).isNull()) {
        a.edit();
        const int switchValue = a.fieldByName(QStringLiteral("yobi2_ID")).asInteger();
        a.fieldByName(QStringLiteral("yobi3_ID")).setAsInteger(switchValue == 0 ? 1 : 0);
        a.fieldByName(QStringLiteral("yobi2_ID")).clear();
        a.post();
    }
    const int position = a.state() == engine::DatasetState::Insert ? a.recordCount() + 1 : a.recNo();
    const int count = a.recordCount() + (a.state() == engine::DatasetState::Insert ? 1 : 0);
    return QStringLiteral("%1/%2").arg(position, 5, 10, QLatin1Char('0')).arg(count, 5, 10, QLatin1Char('0'));
}

void AssetOperations::newAsset()
{
    engine::Table &a = *m_assets;
    a.checkBrowseMode();
    int id = 0, kamoku = 0, bumon = 0, method = 0, firstYear = 0, life = 0;
    DateTime purchased = Today();
    if (!a.isEmpty()) {
        a.last();
        id = a.fieldByName(QStringLiteral("ID")).asInteger();
        kamoku = a.fieldByName(QStringLiteral("kamoku_ID")).asInteger();
        bumon = a.fieldByName(QStringLiteral("bumon_ID")).asInteger();
        method = a.fieldByName(QStringLiteral("houhou_ID")).asInteger();
        firstYear = a.fieldByName(QStringLiteral("houhou2_ID")).asInteger();
        if (!a.fieldByName(QStringLiteral("購入日")).isNull())
            purchased = a.fieldByName(QStringLiteral("購入日")).asDateTime();
        life = static_cast<int>(std::nearbyint(a.fieldByName(QStringLiteral("償却年数")).asFloat())); // halves to even
    }
    a.append();
    a.fieldByName(QStringLiteral("ID")).setAsInteger(id + 1);
    a.fieldByName(QStringLiteral("残率")).setAsFloat(0);
    a.fieldByName(QStringLiteral("yobi3_ID")).setAsInteger(1);
    a.fieldByName(QStringLiteral("償却年数")).setAsFloat(life);
    a.fieldByName(QStringLiteral("kamoku_ID")).setAsInteger(kamoku);
    a.fieldByName(QStringLiteral("bumon_ID")).setAsInteger(bumon);
    a.fieldByName(QStringLiteral("houhou_ID")).setAsInteger(method);
    a.fieldByName(QStringLiteral("houhou2_ID")).setAsInteger(firstYear);
    a.fieldByName(QStringLiteral("購入日")).setAsDateTime(purchased);
    a.fieldByName(QStringLiteral("数量")).setAsInteger(1);
    m_mode = Mode::NewEntry;
}

void AssetOperations::copyAsset()
{
    engine::Table &a = *m_assets;
    QList<std::pair<QString, QVariant>> values;
    for (const QString &name : AssetLayouts::copyFields()) {
        if (name != QLatin1String("ID"))
            values << std::pair{name, a.fieldByName(name).value()};
    }
    newAsset();
    for (const auto &[name, value] : values)
        a.fieldByName(name).setValue(value);
}

Currency AssetOperations::parseChange(const QString &text)
{
    if (text.trimmed().isEmpty())
        return Currency::fromYen(-1);
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw std::invalid_argument(text.toStdString());
    return ToUnits(static_cast<long double>(value));
}

AssetOperations::RegisterResult AssetOperations::registerAsset(const RegisterInput &input)
{
    engine::Table &a = *m_assets;
    if (a.fieldByName(QStringLiteral("残率")).asFloat() >= 1) {
        MessageDlg(QStringLiteral("【償却残存率】が正しい値ではありませんので、確認してください。"), DialogKind::Plain,
                   {DialogButton::Ok});
        return RegisterResult::Refused;
    }
    m_years->checkBrowseMode();
    if (a.state() == engine::DatasetState::Browse)
        a.edit();
    if (input.method)
        a.fieldByName(QStringLiteral("houhou_ID")).setAsInteger(*input.method);
    if (input.firstYear)
        a.fieldByName(QStringLiteral("houhou2_ID")).setAsInteger(*input.firstYear);
    a.post(); // a duplicate ID throws here and the row stays in editing
    const int id = a.fieldByName(QStringLiteral("ID")).asInteger();
    const Mode before = m_mode;

    close();
    bool calculated = false;
    try {
        const Currency book = parseChange(input.bookValueChange);
        const Currency subsidy = parseChange(input.subsidyValueChange);
        AssetCalculation calculation(database());
        calculation.calculate(id, input.protection, book, subsidy);
        calculated = true;
    } catch (const std::exception &) {
        // A change that is no number or a failed check ends Register silently;
        // the saved row stays.
    }
    open();
    a.findKey({id});
    m_mode = calculated ? Mode::Browse : before;
    return calculated ? RegisterResult::Calculated : RegisterResult::CalculationFailed;
}

bool AssetOperations::deleteAsset()
{
    if (MessageDlg(QStringLiteral("レコード（データ）を削除します。"), DialogKind::Warning,
                   {DialogButton::Yes, DialogButton::No})
        != DialogButton::Yes)
        return false;
    engine::Table &a = *m_assets;
    if (m_mode == Mode::NewEntry && a.state() == engine::DatasetState::Insert) {
        a.cancel();
    } else if (!a.isEmpty()) {
        a.checkBrowseMode();
        const int id = a.fieldByName(QStringLiteral("ID")).asInteger();
        engine::Table years;
        years.setDatabaseName(m_database);
        years.setTableName(QStringLiteral("daicyoB"));
        years.open();
        years.findNearest({id});
        while (!years.isEmpty() && years.fieldByName(QStringLiteral("ID")).asInteger() == id && !years.eof())
            years.remove();
        years.close();
        a.remove();
        m_years->refresh();
    }
    leaveNewEntry();
    return true;
}

void AssetOperations::jump(int id)
{
    saveEdits(*m_years, *m_assets);
    m_assets->findNearest({id});
}

void AssetOperations::setListChoice(int choice)
{
    m_years->setFiltered(choice == 0);
}

void AssetOperations::toggleFixed()
{
    engine::Table &y = *m_years;
    if (y.isEmpty())
        return;
    y.edit();
    engine::Field &mark = y.fieldByName(QStringLiteral("F1"));
    if (mark.asInteger() == 1)
        mark.clear();
    else
        mark.setAsInteger(1);
    y.post();
}

AssetOperations::SearchSums AssetOperations::search(const SearchCriteria &criteria, engine::Query &result) const
{
    result.close();
    result.setDatabaseName(m_database);
    result.setRequestLive(true);
    result.setSql(QStringLiteral(" Select * From daicyoA  Where ID>0 ") + conditions(criteria)
                  + QStringLiteral(" Order By \"購入日\""));
    bind(result, criteria);
    result.open();

    engine::Query sums;
    sums.setDatabaseName(m_database);
    sums.setSql(QStringLiteral(" Select Sum(購入価格),Sum(期首簿価),Sum(期末簿価),Sum(償却額),Sum(国補期首簿価),"
                               "Sum(国補期末簿価),Sum(国補取崩額) From daicyoA  Where ID>0 ")
                + conditions(criteria));
    bind(sums, criteria);
    sums.open();
    const auto sum = [&sums](int i) { return sums.field(i).asCurrency(); };
    SearchSums out{sum(0), sum(1), sum(2), sum(3), sum(4), sum(5), sum(6)};
    sums.close();
    return out;
}

void AssetOperations::writeBack(const engine::Query &result)
{
    engine::Table &a = *m_assets;
    saveEdits(*m_years, a);
    if (!a.findKey({result.fieldByName(QStringLiteral("ID")).value()}))
        return;
    a.edit();
    for (int i = 0; i < result.fieldCount(); ++i) {
        const engine::Field &from = result.field(i);
        if (engine::Field *to = a.findField(from.fieldName()))
            to->setValue(from.value());
    }
    a.post();
}

int AssetOperations::importCsv(const QString &path)
{
    const bool wasOpen = m_assets->active();
    if (wasOpen)
        saveEdits(*m_years, *m_assets); // a change being typed is kept, as on leaving the asset
    close();
    {
        engine::Table table;
        table.setDatabaseName(m_database);
        table.setTableName(QStringLiteral("daicyoA"));
        CsvImport::run(path, table, 1, AssetLayouts::importFieldNames());
    }
    const int count = recalculateAll();
    if (wasOpen) {
        open();
        m_assets->first();
    }
    return count;
}

int AssetOperations::recalculateAll()
{
    struct Opening { int id; Currency book; Currency subsidy; };
    std::vector<Opening> assets;
    {
        engine::Table table;
        table.setDatabaseName(m_database);
        table.setTableName(QStringLiteral("daicyoA"));
        table.open();
        for (table.first(); !table.eof(); table.next())
            assets.push_back({table.fieldByName(QStringLiteral("ID")).asInteger(),
                              table.fieldByName(QStringLiteral("期首簿価")).asCurrency(),
                              table.fieldByName(QStringLiteral("国補期首簿価")).asCurrency()});
        table.close();
    }
    // Each asset is a savepoint of a transaction committed every few thousand
    // assets: a failure takes back that asset alone and keeps the ones before
    // it, without a disk sync per asset.
    constexpr int CommitEvery = 2048;
    AssetCalculation calculation(database());
    std::optional<engine::Transaction> transaction;
    int done = 0;
    try {
        for (const Opening &asset : assets) {
            if (!transaction)
                transaction.emplace(database());
            calculation.calculate(asset.id, 1, asset.book, asset.subsidy);
            if (++done % CommitEvery == 0) {
                transaction->commit();
                transaction.reset();
            }
        }
    } catch (const CalculationStopped &) {
        // Its message has been shown; the rest of the run is abandoned.
    } catch (...) {
        if (transaction)
            transaction->commit();
        throw;
    }
    if (transaction)
        transaction->commit();
    return done;
}

} // namespace qpn
