#pragma once

#include "depreciation/AssetData.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace qpn::engine {
class Query;
class Table;
}

namespace qpn {

// Reads assets with their year rows from the data folder's tables and writes
// back what a calculation changed: the asset columns that differ, and the
// year rows added, changed or dropped. Transactions are the caller's. Writes
// go through table objects that stay open while the store lives, so each
// save finds its rows by key without opening anything.
class AssetStore
{
public:
    // The database handle name ("AAA") or folder path of daicyoA and daicyoB.
    explicit AssetStore(const QString &database, const QString &session = QString());
    ~AssetStore();
    AssetStore(const AssetStore &) = delete;
    AssetStore &operator=(const AssetStore &) = delete;

    // Every asset number, in primary-key order.
    std::vector<int> assetIds() const;
    // The assets numbered first to last, with their rows, in key order.
    std::vector<AssetData> load(int firstId, int lastId) const;
    // The same, also telling the numbers in that span of year rows that have
    // no asset and carry a fixed mark.
    std::vector<AssetData> load(int firstId, int lastId, std::vector<int> &markedOrphans) const;
    std::optional<AssetData> load(int id) const;

    // Opens the tables the writes go through (else the first save does).
    void openTables();

    // How a year row that cannot be written is handled: the engine's error
    // reaches the caller, or the row is dropped with "登録番号＝ID のデータを
    // 確認してください。" shown and the other rows are written.
    enum class RowFailure { Throw, DropAndReport };

    // Writes the difference between an asset as loaded and as calculated.
    // Stored rows are found by the key they were loaded under. The asset row
    // is written only when withAsset is set. Returns how many rows were dropped.
    int save(const AssetData &before, const AssetData &after, bool withAsset = true,
             RowFailure rowFailure = RowFailure::Throw);

    // The protection statements of the batch run and of fixing past years:
    // marks every year row of a fiscal year before the given one as fixed, or
    // clears every mark.
    void fixYearsBefore(int fiscalYear) const;
    void clearFixedMarks() const;
    // Clears the marks of the year rows of the assets numbered first to last.
    void clearFixedMarks(int firstId, int lastId) const;
    // Fixing on closing the settings: the rows whose year + 1 is at most the
    // given year, a row without a year reading as year 0.
    void CalcF1(int fiscalYear) const;

private:
    std::unique_ptr<engine::Query> query(const QString &sql) const;
    engine::Table &table(std::unique_ptr<engine::Table> &slot, const QString &name);
    void saveAsset(const AssetRecord &before, const AssetRecord &after);
    int saveRows(int assetId, const std::vector<YearRow> &before, const std::vector<YearRow> &after,
                 RowFailure rowFailure);
    void dropRow(int assetId, const std::optional<int> &storedSub);

    QString m_database;
    QString m_session;
    std::unique_ptr<engine::Table> m_assets; // daicyoA in key order
    std::unique_ptr<engine::Table> m_rows;   // daicyoB, ranged to the asset being saved
};

} // namespace qpn
