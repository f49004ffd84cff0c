#pragma once

#include "lib/Currency.h"

#include <QString>

#include <memory>
#include <optional>

namespace qpn::engine {
class Database;
class Query;
class Table;
} // namespace qpn::engine

namespace qpn {

// What the asset entry form does to the stored data, without the form: the
// asset table (daicyoA in key order) with its year rows (daicyoB, linked by
// ID), New, Copy, Register (save and recalculate one asset), Delete, the year
// rows' fixed mark, Jump, Search with its sums and write-back, and the CSV
// import with the recalculation of every asset. Questions and messages go
// through the dialog seam; the calculation uses AppOptions as they stand.
class AssetOperations
{
public:
    enum class Mode { Browse, NewEntry };
    enum class RegisterResult {
        Refused,           // residual rate of 1 or more: nothing saved
        Calculated,        // saved and recalculated; back in browse mode
        CalculationFailed, // saved, but a change amount or the calculation failed
    };
    struct RegisterInput
    {
        int protection = 0;          // 0 保護する, 1 保護しない
        QString bookValueChange;     // blank: none
        QString subsidyValueChange;  // blank: none
        std::optional<int> method;     // 償却方法 choice; empty keeps houhou_ID
        std::optional<int> firstYear;  // 初年度の償却 choice; empty keeps houhou2_ID
    };
    struct SearchCriteria
    {
        std::optional<int> bumon;   // empty: 全て
        std::optional<int> kamoku;  // empty: 全て
        bool includeDisposed = false; // 廃棄を含む
        bool disposedOnly = false;    // 廃棄のみ
        QString name;
    };
    struct SearchSums
    {
        Currency price, openingBook, closingBook, depreciation, subsidyOpening, subsidyClosing, subsidyDrawdown;
    };

    // The data folder's database: a registered handle name ("AAA") or a folder path.
    explicit AssetOperations(const QString &database = QStringLiteral("AAA"));
    ~AssetOperations();

    void open();
    void close();
    engine::Table &assets() const { return *m_assets; }
    engine::Table &yearRows() const { return *m_years; }
    Mode mode() const { return m_mode; }

    // Every move to another asset: the memorandum switch, then the position
    // "%.5d/%.5d".
    QString showAsset();
    void newAsset();
    void copyAsset();
    RegisterResult registerAsset(const RegisterInput &input);
    // Asks "レコード（データ）を削除します。"; false when not answered yes.
    bool deleteAsset();
    // Saves a pending edit and moves to the asset numbered id or the next higher one.
    void jump(int id);
    // 0 当年度以降 (only years from the fiscal year on), 1 購入時から.
    void setListChoice(int choice);
    // Double-click on a year row's * cell: toggles F1 between 1 and empty and saves.
    void toggleFixed();

    // Runs the search into the query (opened, editable) and returns its sums.
    SearchSums search(const SearchCriteria &criteria, engine::Query &result) const;
    // Copies the current result row into the asset with the same ID and saves it.
    void writeBack(const engine::Query &result);

    // Imports the file by ID (key mode 1) and recalculates every asset;
    // returns the number of assets recalculated. Throws CsvError for a bad line.
    int importCsv(const QString &path);
    // Recalculates every asset in ID order with mode 1 and its own opening values.
    int recalculateAll();

    static Currency parseChange(const QString &text); // −1 yen for blank; throws for no number

private:
    engine::Database &database();
    void leaveNewEntry() { m_mode = Mode::Browse; }

    QString m_database;
    std::unique_ptr<engine::Database> m_ownDatabase;
    std::unique_ptr<engine::Table> m_assets;
    std::unique_ptr<engine::Table> m_years;
    Mode m_mode = Mode::Browse;
};

} // namespace qpn
