#include "depreciation/DecliningBalanceMethod.h"

#include "depreciation/AssetRecord.h"
#include "depreciation/AssetWork.h"
#include "depreciation/CalcOptions.h"
#include "depreciation/PassArithmetic.h"
#include "depreciation/RateTable.h"

namespace qpn {

using namespace pass;

DecliningBalanceMethod::DecliningBalanceMethod(AssetWork &work, const CalcOptions &options,
                                               const RateTable &rates)
    : m_work(work), m_options(options), m_rates(rates)
{
}

bool DecliningBalanceMethod::setup(AssetRecord &asset)
{
    AssetWork &w = m_work;
    if (w.RateGeneration == 1) {
        w.Rate = m_rates.RateFor(RateTable::OldDeclining, w.Life);
        w.ResidualRate = 0.05;
    } else {
        const bool rate250 = w.RateGeneration == 2;
        w.Rate = m_rates.RateFor(rate250 ? RateTable::Declining250 : RateTable::Declining200, w.Life);
        w.RevisedRate = m_rates.RateFor(rate250 ? RateTable::Declining250Revised : RateTable::Declining200Revised,
                                        w.Life);
        w.GuaranteeRate = m_rates.RateFor(
            rate250 ? RateTable::Declining250Guarantee : RateTable::Declining200Guarantee, w.Life);
        w.GuaranteeAmount = HalfUpYen(Yen(w.BasePrice) * w.GuaranteeRate);
        w.ResidualRate = 0;
    }
    asset.償却率 = w.Rate;
    asset.償却額.reset();
    w.ResidualAmount = HalfUpYen(Yen(w.BasePrice) * w.ResidualRate);
    m_finalStage = false;
    m_floorCount = 0;
    m_revisedBase = Currency();
    return true;
}

void DecliningBalanceMethod::yearlyAmount(int mode, int year)
{
    AssetWork &w = m_work;
    const Currency keptOpening = w.OpeningBalance;
    if (w.PendingPartialAmount > Currency() && w.OpeningBalance > Currency())
        w.OpeningBalance -= w.PendingPartialAmount;
    if (w.RateGeneration == 1)
        oldMethodAmount(mode, year);
    else
        guaranteedAmount();
    w.OpeningBalance = keptOpening;
}

void DecliningBalanceMethod::oldMethodAmount(int mode, int year)
{
    AssetWork &w = m_work;
    const Currency byRate = TruncYen(ToUnits(Yen(w.OpeningBalance) * w.Rate));
    const Currency fullYearClose = w.AddedBalance + w.OpeningBalance - byRate;
    if (w.ResidualAmount >= fullYearClose) {
        if (mode == 0 && year <= m_options.FiscalYear)
            m_floorCount = 1;
        m_floorCount = w.ResidualAmount >= w.OpeningBalance ? m_floorCount + 1 : 1;
    }
    if (m_finalStage || (w.YearIndex != 0 && year >= 2007 && m_floorCount >= 2)) {
        m_finalStage = true;
        w.ResidualPending = false;
        w.ResidualAmount = Currency();
        w.MemoValue = 1;
        w.YearDepreciation = HalfUpYen((0.05L * Yen(w.BasePrice) - 1) / 5);
    } else {
        w.ResidualPending = w.ResidualAmount > Currency();
        w.YearDepreciation = w.YearIndex == 0 ? firstYearAmount() : byRate;
    }
}

// The 250 % and 200 % methods: when the rate's amount falls below the
// guarantee amount, the revised rate applies to the opening balance of the
// first such year for as long as the test keeps failing.
void DecliningBalanceMethod::guaranteedAmount()
{
    AssetWork &w = m_work;
    const Currency byRate = TruncYen(ToUnits(Yen(w.OpeningBalance) * w.Rate));
    if (w.YearIndex != 0 && w.GuaranteeAmount > byRate) {
        if (m_revisedBase == Currency())
            m_revisedBase = w.OpeningBalance;
        w.YearDepreciation = TruncYen(ToUnits(Yen(m_revisedBase) * w.RevisedRate));
        w.MemoValue = 1;
    } else {
        w.YearDepreciation = w.YearIndex == 0 ? firstYearAmount() : byRate;
        m_revisedBase = Currency();
    }
}

Currency DecliningBalanceMethod::firstYearAmount() const
{
    const Currency fullYear = ToUnits(Yen(m_work.BasePrice) * m_work.Rate);
    return MonthsShare(WholeYen(fullYear), m_work.FirstYearMonths);
}

} // namespace qpn
