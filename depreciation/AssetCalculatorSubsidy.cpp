// The subsidy pass of AssetCalculator: the drawdown of the national-subsidy
// reserve over the year rows the asset pass left.
#include "depreciation/AssetCalculator.h"

#include "depreciation/PassArithmetic.h"
#include "depreciation/YearRows.h"

#include <algorithm>
#include <cmath>

namespace qpn {

using namespace pass;

namespace {

// S × X ÷ P in units, brought to whole yen with halves going up; 0 without a price.
Currency ShareOf(Currency s, Currency x, Currency p)
{
    if (p == Currency())
        return Currency();
    const long double units = static_cast<long double>(s.units()) * x.units() / p.units();
    return Currency::fromYen(static_cast<std::int64_t>(std::trunc((units + 5000) / Currency::UnitsPerYen)));
}

// The amounts a year's proportional drawdown is taken from: after a partial
// disposal, the remaining price and subsidy.
struct ProportionBase
{
    Currency price;
    Currency subsidy;
};

ProportionBase BaseFor(const AssetRecord &asset, const YearRow &row)
{
    if (Nz(row.除却後購入価格B) > Currency())
        return {Nz(asset.除却後購入価格), Nz(asset.除却後購入価格国)};
    return {Nz(asset.購入価格), Nz(asset.国補積立金)};
}

} // namespace

void AssetCalculator::Calc1B(AssetData &data, int mode, Currency, Currency subsidyValueChange)
{
    AssetRecord &a = data.asset;
    AssetWork &w = m_work;
    w.Method = Nz(a.houhou_ID);
    w.FirstYearMode = Nz(a.houhou2_ID);
    w.AssetId = a.ID;
    w.PurchaseDate = Nz(a.購入日);
    w.Life = static_cast<int>(std::nearbyint(Nz(a.償却年数)));
    w.DisposalDate = Nz(a.廃棄日);
    w.SubsidyAmount = Nz(a.国補積立金);
    if (Nz(a.除却後購入価格国) > Currency())
        w.SubsidyAmount = Nz(a.除却後購入価格国);
    w.SubsidyResidualRate = m_options.SubsidyResidual == 1 ? 0.1 : 0;
    deriveYears();
    a.償却月数 = w.MonthsThisYear;

    if (subsidyValueChange >= Currency())
        applySubsidyValueChange(data, subsidyValueChange);
    w.SubsidyAdjustment = Currency();
    if (m_options.SubsidyResidual == 2)
        proportionalSubsidy(data, mode, subsidyValueChange);
    else if (!straightLineSubsidy(data, mode))
        return;
    subsidySummary(data);
}

void AssetCalculator::applySubsidyValueChange(AssetData &data, Currency change)
{
    for (YearRow &row : data.rows) {
        if (Nz(row.Nendo) + 1 == m_options.FiscalYear) {
            row.国補期末残高 = change;
            row.国補当年取崩額 = Nz(row.国補期首残高) - change;
        }
    }
}

// Equal yearly drawdowns over the useful life, down to 0 or to 10 % of the
// subsidy. False for the non-depreciable methods, whose subsidy is left alone.
bool AssetCalculator::straightLineSubsidy(AssetData &data, int mode)
{
    AssetWork &w = m_work;
    const int fiscalYear = m_options.FiscalYear;
    w.SubsidyOpening = Currency();
    w.SubsidyAdded = w.SubsidyAmount;
    w.YearIndex = 0;
    if (w.Method > 1)
        return false;

    const int life = m_options.StraightLineBasis == 1 ? std::min(w.Life, 100) : w.Life;
    w.Rate = life > 0 ? 1.0 / life : 0.0;
    const Currency annual = ToUnits((1.0L - w.SubsidyResidualRate) * Yen(w.SubsidyAmount) * w.Rate);
    w.SubsidyAnnual = ByRounding(annual, m_options.RoundingMode);
    w.SubsidyResidualAmount = HalfUpYen(Yen(w.SubsidyAmount) * w.SubsidyResidualRate);

    for (YearRow &row : data.rows) {
        const int year = w.AcquisitionNendo + w.YearIndex;
        if (mode == 1 || w.AcquisitionNendo >= fiscalYear || year >= fiscalYear)
            row.F1.reset();
        w.SubsidyDrawdown = TruncYen(w.YearIndex == 0
                                         ? ToUnits(w.FirstYearMonths * Yen(w.SubsidyAnnual) / 12)
                                         : w.SubsidyAnnual);
        if (row.kin3)
            w.SubsidyDrawdown = *row.kin3;
        if (w.YearIndex == 0 && w.FirstYearMode == 1)
            w.SubsidyDrawdown = Currency();
        row.Sub = w.YearIndex;
        row.Nendo = year;
        if (Nz(row.F1) == 0 || year == w.DisposalNendo) {
            if (year < fiscalYear)
                row.F1 = 1;
            CalcWB(data, row, mode);
        }
        w.YearIndex += 1;
        w.AddedBalance = Currency();
        w.SubsidyAdded = Currency();
        w.SubsidyOpening = Nz(row.国補期末残高);
    }
    return true;
}

// Drawdown in proportion to each year's depreciation; the balance is re-based
// once, in the transition year, and the last row releases what is left.
void AssetCalculator::proportionalSubsidy(AssetData &data, int mode, Currency change)
{
    const AssetRecord &a = data.asset;
    AssetWork &w = m_work;
    const int fiscalYear = m_options.FiscalYear;
    const bool changed = change >= Currency();
    // The year writer's own balances are replaced below; start it from nothing
    // so that no figure of an earlier asset shows through.
    w.SubsidyOpening = w.SubsidyAdded = w.SubsidyDrawdown = w.SubsidyResidualAmount = Currency();
    w.YearIndex = 0;
    Currency carried;
    const size_t count = data.rows.size();
    for (size_t i = 0; i < count; ++i) {
        YearRow &row = data.rows[i];
        const int year = w.AcquisitionNendo + w.YearIndex;
        if (mode == 1 || year >= fiscalYear)
            row.F1.reset();
        if (Nz(row.F1) == 0 || year == w.DisposalNendo) {
            if (year < fiscalYear)
                row.F1 = 1;
            CalcWB(data, row, mode);
            const ProportionBase base = BaseFor(a, row);
            const Currency depreciation = Nz(row.当年償却額);
            if (year == w.DisposalNendo) {
                row.国補期首残高 = carried;
                row.国補当年取崩額 = m_options.DisposalMonthly == 0
                    ? Currency() : ShareOf(base.subsidy, depreciation, base.price);
                row.国補期首取崩累計 = base.subsidy - carried;
            } else {
                Currency opening = Nz(row.期首残高);
                if (Nz(row.除却後購入価格B) > Currency()) {
                    carried -= Nz(row.一部除却額国);
                    opening -= Nz(row.一部除却額);
                }
                Currency before = carried;
                if (year == m_options.TransitionYear && Nz(row.期首残高) > Currency::fromYen(1)) {
                    carried = ShareOf(base.subsidy, opening, base.price);
                    row.国補期首調整２３ = before - carried;
                    w.SubsidyAdjustment = before - carried;
                }
                Currency drawdown = i + 1 == count ? carried : ShareOf(base.subsidy, depreciation, base.price);
                if (year == fiscalYear && changed)
                    before = change;
                row.国補期首残高 = Nz(row.一部除却額国) + before;
                row.国補当年取崩額 = drawdown;
                drawdown = Nz(row.国補期首調整２３) + drawdown;
                if (w.YearIndex == 0) {
                    row.国補期末残高 = base.subsidy - drawdown;
                    row.国補期首取崩累計 = Currency();
                    row.国補期末取崩累計 = row.国補当年取崩額;
                } else {
                    if (Nz(row.国補期首残高) - drawdown < Currency()) {
                        drawdown = before;
                        row.国補当年取崩額 = before;
                    }
                    row.国補期末残高 = before - drawdown;
                    row.国補期末取崩累計 = base.subsidy - Nz(row.国補期末残高);
                    row.国補期首取崩累計 = Nz(row.国補期末取崩累計) - Nz(row.国補当年取崩額);
                }
                if (year + 1 == fiscalYear && changed) {
                    row.国補期末残高 = change;
                    row.国補当年取崩額 = carried - change;
                    row.kin3 = carried - change;
                }
            }
        }
        carried = Nz(row.国補期末残高);
        w.YearIndex += 1;
    }
}

void AssetCalculator::subsidySummary(AssetData &data)
{
    AssetRecord &a = data.asset;
    const AssetWork &w = m_work;
    const CalcOptions &o = m_options;
    if (const YearRow *row = YearRows::findNendo(data.rows, o.FiscalYear)) {
        a.国補期首簿価 = Nz(row->国補期首残高);
        a.国補取崩額 = Nz(row->国補当年取崩額);
        a.国補期末簿価 = Nz(row->国補期末残高);
        a.国補期首取崩累計 = Nz(row->国補期首取崩累計);
        a.国補期末取崩累計 = Nz(row->国補期末取崩累計);
        a.kin2 = Nz(row->kin2);
        if (o.TransitionYear == o.FiscalYear) {
            a.国補期首調整２３ = w.SubsidyAdjustment;
            a.国補期首調整後額 = Nz(row->国補期首残高) - w.SubsidyAdjustment;
        }
        return;
    }

    const YearRow last = YearRows::lastByNendo(data.rows);
    a.国補期首簿価 = Nz(last.国補期末残高);
    a.国補取崩額 = Currency();
    a.国補期末簿価 = Nz(last.国補期末残高);
    a.国補期首取崩累計 = Nz(last.国補期末取崩累計);
    a.国補期末取崩累計 = Nz(last.国補期末取崩累計);
    a.kin2 = Nz(last.kin2);
    if (w.PurchaseDate > o.FiscalStart) {
        a.国補期首簿価 = a.国補取崩額 = a.国補期末簿価 = a.国補期首取崩累計 = a.国補期末取崩累計 = Currency();
        a.償却月数.reset();
    }
    if (a.廃棄日 && o.FiscalYear > w.DisposalNendo) {
        a.国補期首簿価 = a.国補取崩額 = a.国補期末簿価 = Currency();
        a.償却月数.reset();
        a.国補期首取崩累計 = a.国補期末取崩累計 = Currency();
        a.kin2 = w.SubsidyAmount;
    }
    if (a.廃棄日 && o.FiscalYear == w.DisposalNendo) {
        a.国補取崩額 = a.国補期末簿価 = a.国補期末取崩累計 = Currency();
        a.kin2 = w.SubsidyAmount;
    }
}

} // namespace qpn
