#include "depreciation/AssetStore.h"

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "lib/Dialogs.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <map>
#include <set>
#include <type_traits>

namespace qpn {

namespace {

// Reading a column into a record member by the member's type.
void Read(const engine::Field &field, std::optional<int> &value)
{
    value = field.isNull() ? std::nullopt : std::optional<int>(field.asInteger());
}
void Read(const engine::Field &field, std::optional<double> &value)
{
    value = field.isNull() ? std::nullopt : std::optional<double>(field.asFloat());
}
void Read(const engine::Field &field, std::optional<Currency> &value)
{
    value = field.isNull() ? std::nullopt : std::optional<Currency>(field.asCurrency());
}
void Read(const engine::Field &field, std::optional<QDate> &value)
{
    value = field.isNull() ? std::nullopt : std::optional<QDate>(ToQDate(field.asDateTime()));
}
void Read(const engine::Field &field, QString &value)
{
    value = field.asString();
}

QVariant ToVariant(const std::optional<int> &value)
{
    return value ? QVariant(*value) : QVariant();
}
QVariant ToVariant(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}
QVariant ToVariant(const std::optional<Currency> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}
QVariant ToVariant(const std::optional<QDate> &value)
{
    return value ? QVariant(*value) : QVariant();
}
QVariant ToVariant(const QString &value)
{
    return QVariant(value);
}

// Every column of an asset the passes read or write, as (name, member).
template <typename Record, typename Visit>
void VisitAssetColumns(Record &a, Visit &&visit)
{
    visit(QStringLiteral("houhou_ID"), a.houhou_ID);
    visit(QStringLiteral("houhou2_ID"), a.houhou2_ID);
    visit(QStringLiteral("品名"), a.品名);
    visit(QStringLiteral("購入日"), a.購入日);
    visit(QStringLiteral("廃棄日"), a.廃棄日);
    visit(QStringLiteral("購入価格"), a.購入価格);
    visit(QStringLiteral("償却年数"), a.償却年数);
    visit(QStringLiteral("償却率"), a.償却率);
    visit(QStringLiteral("残率"), a.残率);
    visit(QStringLiteral("償却月数"), a.償却月数);
    visit(QStringLiteral("yobi2_ID"), a.yobi2_ID);
    visit(QStringLiteral("yobi3_ID"), a.yobi3_ID);
    visit(QStringLiteral("償却額"), a.償却額);
    visit(QStringLiteral("期首償却累計"), a.期首償却累計);
    visit(QStringLiteral("期末償却累計"), a.期末償却累計);
    visit(QStringLiteral("期首簿価"), a.期首簿価);
    visit(QStringLiteral("期末簿価"), a.期末簿価);
    visit(QStringLiteral("kin1"), a.kin1);
    visit(QStringLiteral("国補積立金"), a.国補積立金);
    visit(QStringLiteral("国補取崩額"), a.国補取崩額);
    visit(QStringLiteral("国補期首取崩累計"), a.国補期首取崩累計);
    visit(QStringLiteral("国補期末取崩累計"), a.国補期末取崩累計);
    visit(QStringLiteral("国補期首簿価"), a.国補期首簿価);
    visit(QStringLiteral("国補期末簿価"), a.国補期末簿価);
    visit(QStringLiteral("kin2"), a.kin2);
    visit(QStringLiteral("国補期首調整２３"), a.国補期首調整２３);
    visit(QStringLiteral("国補期首調整後額"), a.国補期首調整後額);
    visit(QStringLiteral("一部除却日"), a.一部除却日);
    visit(QStringLiteral("一部除却額"), a.一部除却額);
    visit(QStringLiteral("除却後購入価格"), a.除却後購入価格);
    visit(QStringLiteral("除却後購入価格国"), a.除却後購入価格国);
    visit(QStringLiteral("一部除却額国Ａ"), a.一部除却額国Ａ);
    visit(QStringLiteral("一部除却期首額"), a.一部除却期首額);
    visit(QStringLiteral("一部除却期首額国"), a.一部除却期首額国);
    visit(QStringLiteral("一部除却期首累計額"), a.一部除却期首累計額);
    visit(QStringLiteral("一部除却期首累計額国"), a.一部除却期首累計額国);
}

// Every non-key column of a year row, as (name, member).
template <typename Row, typename Visit>
void VisitRowColumns(Row &r, Visit &&visit)
{
    visit(QStringLiteral("Nendo"), r.Nendo);
    visit(QStringLiteral("期首残高"), r.期首残高);
    visit(QStringLiteral("期末残高"), r.期末残高);
    visit(QStringLiteral("当年償却額"), r.当年償却額);
    visit(QStringLiteral("期首償却累計"), r.期首償却累計);
    visit(QStringLiteral("期末償却累計"), r.期末償却累計);
    visit(QStringLiteral("国補期首残高"), r.国補期首残高);
    visit(QStringLiteral("国補期末残高"), r.国補期末残高);
    visit(QStringLiteral("国補当年取崩額"), r.国補当年取崩額);
    visit(QStringLiteral("国補期首取崩累計"), r.国補期首取崩累計);
    visit(QStringLiteral("国補期末取崩累計"), r.国補期末取崩累計);
    visit(QStringLiteral("変更償却額"), r.変更償却額);
    visit(QStringLiteral("kin1"), r.kin1);
    visit(QStringLiteral("kin2"), r.kin2);
    visit(QStringLiteral("kin3"), r.kin3);
    visit(QStringLiteral("F1"), r.F1);
    visit(QStringLiteral("一部除却額"), r.一部除却額);
    visit(QStringLiteral("除却後購入価格B"), r.除却後購入価格B);
    visit(QStringLiteral("一部除却額国"), r.一部除却額国);
    visit(QStringLiteral("除却後購入価格B国"), r.除却後購入価格B国);
    visit(QStringLiteral("国補期首調整２３"), r.国補期首調整２３);
}

// The columns whose values differ between two records, with the new values.
// Both walks visit the same columns in the same order.
template <typename Record, typename VisitColumns>
std::vector<std::pair<QString, QVariant>> Changes(const Record &before, const Record &after, VisitColumns visitColumns)
{
    std::vector<const void *> old;
    visitColumns(before, [&](const QString &, const auto &value) { old.push_back(&value); });
    std::vector<std::pair<QString, QVariant>> changes;
    size_t i = 0;
    visitColumns(after, [&](const QString &name, const auto &value) {
        const auto &was = *static_cast<const std::decay_t<decltype(value)> *>(old[i++]);
        if (!(was == value))
            changes.emplace_back(name, ToVariant(value));
    });
    return changes;
}

const auto AssetColumns = [](auto &record, auto &&visit) { VisitAssetColumns(record, visit); };
const auto RowColumns = [](auto &record, auto &&visit) { VisitRowColumns(record, visit); };

} // namespace

AssetStore::AssetStore(const QString &database, const QString &session)
    : m_database(database), m_session(session)
{
}

AssetStore::~AssetStore() = default;

std::unique_ptr<engine::Query> AssetStore::query(const QString &sql) const
{
    auto q = std::make_unique<engine::Query>();
    q->setDatabaseName(m_database);
    if (!m_session.isEmpty())
        q->setSessionName(m_session);
    q->setSql(sql);
    return q;
}

std::vector<int> AssetStore::assetIds() const
{
    const auto q = query(QStringLiteral("select ID from daicyoA order by ID"));
    q->open();
    std::vector<int> ids;
    const engine::Field &id = q->fieldByName(QStringLiteral("ID"));
    for (q->first(); !q->eof(); q->next())
        ids.push_back(id.asInteger());
    return ids;
}

namespace {

// The select list of the columns a walk visits, after the key columns.
template <typename Record, typename VisitColumns>
QString ColumnList(const QStringList &keys, VisitColumns visitColumns)
{
    QStringList names = keys;
    Record record;
    visitColumns(record, [&](const QString &name, auto &) { names << u'"' + name + u'"'; });
    return names.join(QStringLiteral(", "));
}

// Reads the current row of a query into a record, the fields in walk order.
template <typename Record, typename VisitColumns>
void ReadColumns(const std::vector<const engine::Field *> &fields, Record &record, VisitColumns visitColumns)
{
    size_t i = 0;
    visitColumns(record, [&](const QString &, auto &value) { Read(*fields[i++], value); });
}

// The fields of a query in walk order, looked up once.
template <typename Record, typename VisitColumns>
std::vector<const engine::Field *> FieldsOf(const engine::Query &query, VisitColumns visitColumns)
{
    std::vector<const engine::Field *> fields;
    Record record;
    visitColumns(record, [&](const QString &name, auto &) { fields.push_back(&query.fieldByName(name)); });
    return fields;
}

} // namespace

std::vector<AssetData> AssetStore::load(int firstId, int lastId) const
{
    std::vector<int> orphans;
    return load(firstId, lastId, orphans);
}

std::vector<AssetData> AssetStore::load(int firstId, int lastId, std::vector<int> &markedOrphans) const
{
    std::vector<AssetData> assets;
    static const QString assetColumns = ColumnList<AssetRecord>({QStringLiteral("ID")}, AssetColumns);
    const auto a = query(QStringLiteral("select %1 from daicyoA where ID >= :A and ID <= :B order by ID").arg(assetColumns));
    a->setParam(QStringLiteral("A"), firstId);
    a->setParam(QStringLiteral("B"), lastId);
    a->open();
    std::map<int, size_t> indexOf;
    {
        const engine::Field &id = a->fieldByName(QStringLiteral("ID"));
        const auto fields = FieldsOf<AssetRecord>(*a, AssetColumns);
        for (a->first(); !a->eof(); a->next()) {
            AssetData data;
            data.asset.ID = id.asInteger();
            ReadColumns(fields, data.asset, AssetColumns);
            indexOf[data.asset.ID] = assets.size();
            assets.push_back(std::move(data));
        }
    }
    a->close();

    static const QString rowColumns = ColumnList<YearRow>({QStringLiteral("ID"), QStringLiteral("Sub")}, RowColumns);
    const auto b = query(
        QStringLiteral("select %1 from daicyoB where ID >= :A and ID <= :B order by ID, Sub").arg(rowColumns));
    b->setParam(QStringLiteral("A"), firstId);
    b->setParam(QStringLiteral("B"), lastId);
    b->open();
    const engine::Field &id = b->fieldByName(QStringLiteral("ID"));
    const engine::Field &sub = b->fieldByName(QStringLiteral("Sub"));
    const auto fields = FieldsOf<YearRow>(*b, RowColumns);
    for (b->first(); !b->eof(); b->next()) {
        YearRow row;
        row.ID = id.asInteger();
        row.Sub = sub.asInteger();
        row.storedSub = row.Sub;
        ReadColumns(fields, row, RowColumns);
        const auto owner = indexOf.find(row.ID);
        if (owner != indexOf.end())
            assets[owner->second].rows.push_back(std::move(row));
        else if (row.F1 && (markedOrphans.empty() || markedOrphans.back() != row.ID))
            markedOrphans.push_back(row.ID);
    }
    return assets;
}

std::optional<AssetData> AssetStore::load(int id) const
{
    std::vector<AssetData> assets = load(id, id);
    if (assets.empty())
        return std::nullopt;
    return std::move(assets.front());
}

engine::Table &AssetStore::table(std::unique_ptr<engine::Table> &slot, const QString &name)
{
    if (!slot) {
        auto opened = std::make_unique<engine::Table>();
        opened->setDatabaseName(m_database);
        if (!m_session.isEmpty())
            opened->setSessionName(m_session);
        opened->setTableName(name);
        if (name == QLatin1String("daicyoB"))
            opened->setRange({0}, {0});
        opened->open();
        slot = std::move(opened);
    }
    return *slot;
}

void AssetStore::openTables()
{
    table(m_assets, QStringLiteral("daicyoA"));
    table(m_rows, QStringLiteral("daicyoB"));
}

int AssetStore::save(const AssetData &before, const AssetData &after, bool withAsset, RowFailure rowFailure)
{
    const int dropped = saveRows(after.asset.ID, before.rows, after.rows, rowFailure);
    if (withAsset)
        saveAsset(before.asset, after.asset);
    return dropped;
}

namespace {

void SetFields(engine::Dataset &dataset, const std::vector<std::pair<QString, QVariant>> &changes)
{
    for (const auto &[name, value] : changes)
        dataset.fieldByName(name).setValue(value);
}

// Positions the year rows of an asset on the row of a Sub.
bool Locate(engine::Table &rows, int assetId, int sub)
{
    return rows.findKey({assetId, sub});
}

} // namespace

void AssetStore::saveAsset(const AssetRecord &before, const AssetRecord &after)
{
    const auto changes = Changes(before, after, AssetColumns);
    if (changes.empty())
        return;
    engine::Table &assets = table(m_assets, QStringLiteral("daicyoA"));
    if (!assets.findKey({after.ID})) {
        // An asset added since the table was opened.
        assets.refresh();
        if (!assets.findKey({after.ID}))
            return;
    }
    assets.edit();
    SetFields(assets, changes);
    assets.post();
}

// Deletes first, then updates in key order (a renumbered row only ever moves
// to a lower free key), then inserts, so no step meets a key still in use.
int AssetStore::saveRows(int assetId, const std::vector<YearRow> &before, const std::vector<YearRow> &after,
                         RowFailure rowFailure)
{
    std::map<int, const YearRow *> stored;
    for (const YearRow &row : before) {
        if (row.storedSub)
            stored[*row.storedSub] = &row;
    }
    std::set<int> kept;
    std::vector<const YearRow *> updates;
    std::vector<const YearRow *> inserts;
    for (const YearRow &row : after) {
        if (!row.storedSub) {
            inserts.push_back(&row);
            continue;
        }
        kept.insert(*row.storedSub);
        const auto old = stored.find(*row.storedSub);
        if (old == stored.end() || !(*old->second == row))
            updates.push_back(&row);
    }
    std::vector<int> deletions;
    for (const auto &[sub, row] : stored) {
        if (!kept.count(sub))
            deletions.push_back(sub);
    }
    if (deletions.empty() && updates.empty() && inserts.empty())
        return 0;

    // Showing the asset's rows afresh also picks up rows changed by others.
    engine::Table &rows = table(m_rows, QStringLiteral("daicyoB"));
    rows.setRange({assetId}, {assetId});
    int dropped = 0;
    const auto write = [&](const YearRow &row, const auto &action) {
        try {
            action();
        } catch (const engine::EngineError &) {
            if (rowFailure == RowFailure::Throw)
                throw;
            dropRow(assetId, row.storedSub);
            ++dropped;
        }
    };
    for (const int sub : deletions) {
        if (Locate(rows, assetId, sub))
            rows.remove();
    }
    for (const YearRow *row : updates) {
        if (!Locate(rows, assetId, *row->storedSub))
            continue;
        const auto old = stored.find(*row->storedSub);
        const YearRow blank;
        auto changes = Changes(old != stored.end() ? *old->second : blank, *row, RowColumns);
        if (row->Sub != *row->storedSub)
            changes.emplace_back(QStringLiteral("Sub"), row->Sub);
        if (changes.empty())
            continue;
        write(*row, [&] {
            rows.edit();
            SetFields(rows, changes);
            rows.post();
        });
    }
    for (const YearRow *row : inserts) {
        write(*row, [&] {
            rows.append();
            rows.fieldByName(QStringLiteral("ID")).setAsInteger(row->ID);
            rows.fieldByName(QStringLiteral("Sub")).setAsInteger(row->Sub);
            VisitRowColumns(*row, [&](const QString &name, const auto &value) {
                const QVariant v = ToVariant(value);
                if (v.isValid())
                    rows.fieldByName(name).setValue(v);
            });
            rows.post();
        });
    }
    return dropped;
}

// A row that cannot be written is left out: dropped from the table when it
// was stored, so the next calculation creates it afresh.
void AssetStore::dropRow(int assetId, const std::optional<int> &storedSub)
{
    engine::Table &rows = *m_rows;
    if (rows.state() != engine::DatasetState::Browse)
        rows.cancel();
    if (storedSub) {
        try {
            if (Locate(rows, assetId, *storedSub))
                rows.remove();
        } catch (const engine::EngineError &) {
            // Still held elsewhere: it stays as it was.
        }
    }
    ShowMessage(QStringLiteral("登録番号＝") + QString::number(assetId) + QStringLiteral(" のデータを確認してください。"));
}

void AssetStore::fixYearsBefore(int fiscalYear) const
{
    // Rows marked already are left alone: the same marks, fewer writes.
    const auto q = query(QStringLiteral("UpDate daicyoB Set F1=1 where Nendo<:PM1 and (F1 is null or F1 <> 1)"));
    q->setParam(QStringLiteral("PM1"), fiscalYear);
    q->execSql();
}

void AssetStore::clearFixedMarks() const
{
    query(QStringLiteral("UpDate daicyoB Set F1 = Null"))->execSql();
}

void AssetStore::clearFixedMarks(int firstId, int lastId) const
{
    const auto q = query(QStringLiteral("update daicyoB set F1 = null where ID >= :A and ID <= :B and F1 is not null"));
    q->setParam(QStringLiteral("A"), firstId);
    q->setParam(QStringLiteral("B"), lastId);
    q->execSql();
}

void AssetStore::CalcF1(int fiscalYear) const
{
    const auto q = query(fiscalYear >= 1
                             ? QStringLiteral("update daicyoB set F1 = 1 where Nendo < :PM1 or Nendo is null")
                             : QStringLiteral("update daicyoB set F1 = 1 where Nendo < :PM1"));
    q->setParam(QStringLiteral("PM1"), fiscalYear);
    q->execSql();
}

} // namespace qpn
