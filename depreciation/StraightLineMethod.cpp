#include "depreciation/StraightLineMethod.h"

#include "depreciation/AssetRecord.h"
#include "depreciation/AssetWork.h"
#include "depreciation/CalcOptions.h"
#include "depreciation/PassArithmetic.h"
#include "depreciation/RateTable.h"
#include "lib/Dialogs.h"

#include <cmath>

namespace qpn {

using namespace pass;

StraightLineMethod::StraightLineMethod(AssetWork &work, const CalcOptions &options, const RateTable &rates)
    : m_work(work), m_options(options), m_rates(rates)
{
}

bool StraightLineMethod::setup(AssetRecord &asset)
{
    AssetWork &w = m_work;
    if (m_options.StraightLineBasis == 1) {
        const int column = w.RateGeneration == 1 ? RateTable::OldStraightLine : RateTable::StraightLine;
        w.Rate = m_rates.RateFor(column, w.Life);
    } else {
        w.Rate = 1.0 / w.Life;
    }
    if (w.Rate == 0) {
        ShowMessage(QStringLiteral("正常でないデータがありましたので、処理を中断します。【")
                    + QString::number(w.AssetId) + QStringLiteral("】"));
        return false;
    }

    const Currency annual = ToUnits((1.0L - w.ResidualRate) * Yen(w.BasePrice) * w.Rate);
    w.AnnualAmount = ByRounding(annual, m_options.RoundingMode);
    w.ResidualAmount = HalfUpYen(Yen(w.BasePrice) * w.ResidualRate);

    // The rate as shown: half up to three decimals.
    const std::int64_t thousandths = WholeYen(ToUnits(w.Rate * 1000.0L + 0.5L));
    asset.償却率 = static_cast<double>(thousandths) / 1000;
    asset.償却額 = TruncYen(w.AnnualAmount);

    if (w.ResidualRate > 0)
        w.MemoValue = 1;
    asset.yobi3_ID = static_cast<int>(std::trunc(w.MemoValue));

    m_finalStage = false;
    m_floorCount = 0;
    return true;
}

void StraightLineMethod::yearlyAmount(int mode, int year)
{
    AssetWork &w = m_work;
    if (w.RateGeneration == 1 && m_options.ResidualMethod == 0) {
        taxLawAmount(mode, year);
        return;
    }
    // [ｲ] drops the residual from fiscal 2007; [ｳ] and later acquisitions keep it.
    if (w.RateGeneration == 1 && m_options.ResidualMethod == 1 && year >= 2007)
        w.ResidualAmount = Currency();
    w.YearDepreciation = w.YearIndex == 0
        ? ToUnits(w.FirstYearMonths * Yen(w.AnnualAmount) / 12)
        : w.AnnualAmount;
}

// [ｱ]: from fiscal 2007 the floor is 5 % of the base; the first year that opens
// at it starts five equal write-downs to the memorandum value.
void StraightLineMethod::taxLawAmount(int mode, int year)
{
    AssetWork &w = m_work;
    const Currency keptOpening = w.OpeningBalance;
    if (w.PendingPartialAmount > Currency() && w.OpeningBalance > Currency())
        w.OpeningBalance -= w.PendingPartialAmount;

    w.YearDepreciation = TruncYen(w.AnnualAmount);
    const Currency fullYearClose = w.AddedBalance + w.OpeningBalance - w.YearDepreciation;
    const Currency fivePercent = HalfUpYen(0.05L * Yen(w.BasePrice));

    if (year < 2007)
        w.ResidualAmount = HalfUpYen(Yen(w.BasePrice) * w.ResidualRate);
    else if (w.ResidualRate != 0)
        w.ResidualAmount = fivePercent;

    if (w.ResidualAmount >= fullYearClose) {
        if (mode == 0 && year <= m_options.FiscalYear)
            m_floorCount = 1;
        if (w.ResidualAmount == fivePercent) {
            m_floorCount = w.ResidualAmount >= w.OpeningBalance ? m_floorCount + 1 : 1;
            if (w.ResidualAmount == w.OpeningBalance)
                m_floorCount = 2;
        }
    }

    if (m_finalStage || (w.YearIndex != 0 && year >= 2007 && m_floorCount >= 2)) {
        m_finalStage = true;
        w.ResidualPending = false;
        w.ResidualAmount = Currency();
        w.YearDepreciation = HalfUpYen((0.05L * Yen(w.BasePrice) - 1) / 5);
    } else {
        w.ResidualPending = w.ResidualAmount > Currency();
        w.YearDepreciation = w.YearIndex == 0 ? MonthsShare(WholeYen(w.AnnualAmount), w.FirstYearMonths)
                                              : TruncYen(w.AnnualAmount);
    }
    w.OpeningBalance = keptOpening;
}

} // namespace qpn
