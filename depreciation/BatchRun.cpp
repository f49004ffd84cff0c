#include "depreciation/BatchRun.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/CalculationStopped.h"
#include "engine/Database.h"
#include "lib/AppOptions.h"
#include "lib/Dialogs.h"

#include <algorithm>

namespace qpn {

namespace {

// Assets are read a slice at a time, so a large register never sits in memory whole.
constexpr size_t SliceSize = 256;

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
    for (size_t first = 0; first < ids.size(); first += SliceSize) {
        const size_t last = std::min(first + SliceSize, ids.size()) - 1;
        std::vector<AssetData> slice = calculation.store().load(ids[first], ids[last]);
        // One commit per slice: every asset is whole in it, and a stop keeps
        // the assets calculated before it.
        engine::Transaction transaction(m_database);
        for (AssetData &data : slice) {
            if (m_progress)
                m_progress(m_assetsCalculated, count);
            try {
                calculation.calculate(data, 0, Currency::fromYen(-1), Currency::fromYen(-1));
            } catch (const CalculationStopped &stop) {
                transaction.commit();
                m_stoppedAssetId = stop.assetId();
                return Outcome::Stopped;
            }
            ++m_assetsCalculated;
        }
        transaction.commit();
    }
    return Outcome::Completed;
}

} // namespace qpn
