#include "depreciation/BatchRun.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/CalculationStopped.h"
#include "engine/Database.h"
#include "lib/AppOptions.h"
#include "lib/Dialogs.h"

#include <algorithm>
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
    if (choice == Recalculate)
        calculation.store().clearFixedMarks();
    else
        calculation.store().fixYearsBefore(m_protectYear.value_or(AppOptions().FiscalYear));

    const int count = static_cast<int>(ids.size());
    std::optional<engine::Transaction> transaction;
    int inTransaction = 0;
    for (size_t first = 0; first < ids.size(); first += SliceSize) {
        const size_t last = std::min(first + SliceSize, ids.size()) - 1;
        std::vector<AssetData> slice = calculation.store().load(ids[first], ids[last]);
        for (AssetData &data : slice) {
            if (m_progress)
                m_progress(m_assetsCalculated, count);
            if (!transaction)
                transaction.emplace(m_database);
            // Each asset is a savepoint of the transaction: a failure takes back
            // that asset alone, and the assets before it are kept.
            try {
                calculation.calculate(data, 0, Currency::fromYen(-1), Currency::fromYen(-1));
            } catch (const CalculationStopped &stop) {
                transaction->commit();
                m_stoppedAssetId = stop.assetId();
                return Outcome::Stopped;
            } catch (...) {
                try {
                    transaction->commit();
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
