#include "depreciation/BatchRun.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/CalculationStopped.h"
#include "engine/Database.h"
#include "lib/AppOptions.h"
#include "lib/Dialogs.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace qpn {

namespace {

// Assets are read a slice at a time, so a large register never sits in memory whole.
constexpr size_t SliceSize = 256;
// Assets written per commit: each commit flushes the folder's files to disk
// several times over; between commits other users of the register get a turn.
constexpr int CommitEvery = 2048;

} // namespace

BatchRun::BatchRun(engine::Database &database) : m_database(database)
{
}

BatchRun::Outcome BatchRun::run(int choice)
{
    m_stoppedAssetId = 0;
    m_assetsCalculated = 0;
    if (choice == Recalculate
        && MessageDlg(QStringLiteral("この処理を実行すると、今までの計算がクリアされて減価償却計算をやり直します。"
                                     "実行してもよいですか。"),
                      DialogKind::Warning, {DialogButton::Yes, DialogButton::No, DialogButton::Cancel})
               != DialogButton::Yes)
        return Outcome::Cancelled;

    AssetCalculation calculation(m_database);
    const std::vector<int> ids = calculation.store().assetIds();
    if (ids.empty()) {
        ShowMessage(QStringLiteral("計算する資産がありません。"));
        return Outcome::NoAssets;
    }
    // A recalculation clears every fixed mark. The marks of the assets are
    // cleared in memory as each is calculated, so a row whose mark the pass
    // sets again is not written twice; the rows of no asset are cleared
    // slice by slice, and the rows of the assets a stop leaves uncalculated
    // at the stop.
    const bool recalculate = choice == Recalculate;
    const AssetStore &store = calculation.store();
    if (!recalculate)
        store.fixYearsBefore(m_protectYear.value_or(AppOptions().FiscalYear));
    const auto clearFrom = [&](int firstId) {
        if (recalculate)
            store.clearFixedMarks(firstId, std::numeric_limits<int>::max());
    };

    const int count = static_cast<int>(ids.size());
    std::optional<engine::Transaction> transaction;
    int inTransaction = 0;
    for (size_t first = 0; first < ids.size(); first += SliceSize) {
        const size_t last = std::min(first + SliceSize, ids.size()) - 1;
        // The span reaches the next slice, so it holds every row of no asset.
        const int low = first == 0 ? std::numeric_limits<int>::min() : ids[first - 1] + 1;
        const int high = last + 1 == ids.size() ? std::numeric_limits<int>::max() : ids[last];
        std::vector<int> orphans;
        std::vector<AssetData> slice = store.load(low, high, orphans);
        if (!transaction)
            transaction.emplace(m_database);
        for (const int orphan : orphans) {
            if (recalculate)
                store.clearFixedMarks(orphan, orphan);
        }
        for (AssetData &data : slice) {
            if (m_progress)
                m_progress(m_assetsCalculated, count);
            if (!transaction)
                transaction.emplace(m_database);
            const AssetData stored = data;
            if (recalculate) {
                for (YearRow &row : data.rows)
                    row.F1.reset();
            }
            // Each asset is a savepoint of the transaction: a failure takes back
            // that asset alone, and the assets before it are kept.
            try {
                calculation.calculate(data, stored, 0, Currency::fromYen(-1), Currency::fromYen(-1));
            } catch (const CalculationStopped &stop) {
                clearFrom(data.asset.ID + 1);
                transaction->commit();
                m_stoppedAssetId = stop.assetId();
                return Outcome::Stopped;
            } catch (...) {
                try {
                    transaction->commit();
                    transaction.reset();
                    clearFrom(data.asset.ID);
                } catch (...) {
                }
                throw;
            }
            ++m_assetsCalculated;
            if (++inTransaction == CommitEvery) {
                transaction->commit();
                transaction.reset();
                inTransaction = 0;
            }
        }
    }
    if (transaction)
        transaction->commit();
    return Outcome::Completed;
}

} // namespace qpn
