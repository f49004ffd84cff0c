#include "depreciation/AssetCalculator.h"

#include "depreciation/CalculationStopped.h"
#include "depreciation/DecliningBalanceMethod.h"
#include "depreciation/PassArithmetic.h"
#include "depreciation/RateTable.h"
#include "depreciation/StraightLineMethod.h"
#include "depreciation/YearRows.h"
#include "lib/Dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qpn {

using namespace pass;

namespace {

// The useful life as a whole number of years, rounded as the column is read.
int LifeOf(const AssetRecord &asset)
{
    return static_cast<int>(std::nearbyint(Nz(asset.償却年数)));
}

Currency MemoUnits(double memoValue)
{
    return ToUnits(memoValue);
}

QString AssetMessage(const QString &prefix, int assetId)
{
    return prefix + QString::number(assetId) + QStringLiteral("】");
}

} // namespace

AssetCalculator::AssetCalculator(const RateTable &rates) : m_rates(rates)
{
}

// ---------------------------------------------------------------- asset pass

AssetPassEnd AssetCalculator::Calc1A(AssetData &data, int mode, Currency bookValueChange, Currency)
{
    AssetRecord &a = data.asset;
    AssetWork &w = m_work;
    w.Method = Nz(a.houhou_ID);
    w.FirstYearMode = Nz(a.houhou2_ID);
    if (a.yobi2_ID) {
        a.yobi3_ID = *a.yobi2_ID == 0 ? 1 : 0;
        a.yobi2_ID.reset();
    }
    w.MemoValue = Nz(a.yobi3_ID);
    w.ResidualRate = Nz(a.残率);
    w.AssetId = a.ID;
    w.PurchaseDate = Nz(a.購入日);
    w.BasePrice = Nz(a.購入価格);
    w.Life = LifeOf(a);
    w.DisposalDate = Nz(a.廃棄日);
    deriveYears();
    a.償却月数 = w.MonthsThisYear;

    if (!a.一部除却日) {
        a.除却後購入価格 = Currency();
        a.除却後購入価格国 = Currency();
    }
    // Both pending amounts start from nothing, so an amount one asset left
    // unconsumed never reaches the next.
    w.PendingPartialAmount = Currency();
    w.PendingSubsidyPartialAmount = Currency();
    w.PartialDate = Nz(a.一部除却日);
    w.PartialNendo = nendoOf(w.PartialDate);

    if (bookValueChange >= Currency())
        applyBookValueChange(data, bookValueChange);
    if (w.PartialNendo == m_options.FiscalYear)
        partialDisposalOfThisYear(data);
    if (Nz(a.除却後購入価格) > Currency())
        w.BasePrice = Nz(a.除却後購入価格);

    w.OpeningBalance = Currency();
    w.SubsidyOpening = Currency();
    w.AddedBalance = w.BasePrice;
    w.ContinueYears = true;
    w.YearIndex = 0;
    checkAsset(a);
    w.ResidualPending = false;

    switch (w.Method) {
    case 0:
    case 1: {
        StraightLineMethod straightLine(w, m_options, m_rates);
        DecliningBalanceMethod declining(w, m_options, m_rates);
        DepreciationMethod &method = w.Method == 0 ? static_cast<DepreciationMethod &>(straightLine)
                                                   : static_cast<DepreciationMethod &>(declining);
        if (!method.setup(a))
            return AssetPassEnd::ZeroRate;
        const bool complete = yearLoop(data, mode, method);
        endOfAsset(data, true);
        return complete ? AssetPassEnd::Completed : AssetPassEnd::AmountTooSmall;
    }
    case 2:
    case 3:
        nonDepreciableLoop(data, mode);
        endOfAsset(data, true);
        return AssetPassEnd::Completed;
    default:
        // No year of such an asset was calculated: keep its rows as they are.
        endOfAsset(data, false);
        return AssetPassEnd::UnknownMethod;
    }
}

int AssetCalculator::nendoOf(DateTime date) const
{
    int year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    return month < MonthOf(m_options.FiscalStart) ? year - 1 : year;
}

// Year numbers and month counts. The month counts are 16-bit unsigned, so a
// negative difference wraps to a large value and is capped like one.
void AssetCalculator::deriveYears()
{
    AssetWork &w = m_work;
    int fy = 0, fm = 0, fd = 0;
    DecodeDate(m_options.FiscalStart, fy, fm, fd);
    int ey = 0, em = 0, ed = 0;
    DecodeDate(IncMonth(m_options.FiscalStart, 12) - 1, ey, em, ed);
    int py = 0, pm = 0, pd = 0;
    DecodeDate(w.PurchaseDate, py, pm, pd);
    int dy = 0, dm = 0, dd = 0;
    DecodeDate(w.DisposalDate, dy, dm, dd);

    const auto monthsThisYear = static_cast<std::uint16_t>((ey - py) * 12 + em - pm + 1);
    w.MonthsThisYear = monthsThisYear > 12 ? 12 : monthsThisYear;
    const auto disposalMonths = static_cast<std::uint16_t>((dy - fy) * 12 + dm - fm + 1);
    w.DisposalMonths = disposalMonths > 12 ? 0 : disposalMonths;

    if (pm < fm) {
        w.AcquisitionNendo = py - 1;
        pm += 12;
    } else {
        w.AcquisitionNendo = py;
    }
    w.FirstYearMonths = 12 - (pm - fm);
    w.DisposalNendo = dm < fm ? dy - 1 : dy;
    w.RateGeneration = RateGeneration(w.PurchaseDate);
}

void AssetCalculator::applyBookValueChange(AssetData &data, Currency change)
{
    for (YearRow &row : data.rows) {
        if (Nz(row.Nendo) + 1 == m_options.FiscalYear) {
            row.期末残高 = change;
            row.当年償却額 = Nz(row.期首残高) - change;
        }
    }
}

// A partial disposal dated in the current fiscal year: the book value and the
// subsidy removed, taken in proportion to the part of the price disposed.
void AssetCalculator::partialDisposalOfThisYear(AssetData &data)
{
    AssetRecord &a = data.asset;
    AssetWork &w = m_work;
    const YearRow *previous = YearRows::findNendo(data.rows, m_options.FiscalYear - 1);
    Currency previousAfter = previous ? Nz(previous->除却後購入価格B) : Currency();
    const Currency previousSubsidyAfter = previous ? Nz(previous->除却後購入価格B国) : Currency();
    const Currency previousClose = previous ? Nz(previous->期末残高) : Currency();

    const Currency price = Nz(a.購入価格);
    const Currency disposed = Nz(a.一部除却額);
    // Without a price nothing can be apportioned; the price check stops the asset.
    const auto share = [&](Currency part, Currency of) {
        return price == Currency() ? Currency() : HalfUpYen(Yen(part) / Yen(price) * Yen(of));
    };
    w.PendingPartialAmount = share(disposed, previousClose);
    if (previousAfter <= Currency())
        previousAfter = price;
    a.除却後購入価格 = previousAfter - disposed;

    const Currency subsidy = Nz(a.国補積立金);
    if (subsidy > Currency()) {
        const Currency remaining = share(Nz(a.除却後購入価格), subsidy);
        a.一部除却額国Ａ = previousSubsidyAfter > Currency() ? previousSubsidyAfter - remaining : subsidy - remaining;
        a.除却後購入価格国 = remaining;
        w.PendingSubsidyPartialAmount = share(disposed, Nz(a.国補期首簿価));
    }
}

void AssetCalculator::checkAsset(const AssetRecord &asset) const
{
    const AssetWork &w = m_work;
    QString prefix;
    if (w.PurchaseDate == 0)
        prefix = QStringLiteral("購入日がありませんので、確認してください。登録番号【");
    else if (w.BasePrice == Currency())
        prefix = QStringLiteral("購入金額がありませんので、確認してください。登録番号【");
    else if (asset.品名.isEmpty())
        prefix = QStringLiteral("品名がありませんので、確認してください。登録番号【");
    else if (w.Method <= 1 && w.Life == 0)
        prefix = QStringLiteral("法定耐用年数がありませんので、確認してください。登録番号【");
    else if (w.Method <= 1 && w.Life < 2)
        prefix = QStringLiteral("法定耐用年数が２年以上でないと、計算できません。登録番号【");
    else
        return;
    const QString message = AssetMessage(prefix, w.AssetId);
    ShowMessage(message);
    throw CalculationStopped(w.AssetId, message);
}

// The years of a depreciating method, from the acquisition year until the
// year writer ends the asset. False when a yearly amount under one yen
// stopped the asset before it could reach its floor.
bool AssetCalculator::yearLoop(AssetData &data, int mode, DepreciationMethod &method)
{
    AssetWork &w = m_work;
    const int fiscalYear = m_options.FiscalYear;
    do {
        YearRow &row = YearRows::findOrAppend(data.rows, w.AssetId, w.YearIndex);
        const int year = w.AcquisitionNendo + w.YearIndex;
        if (mode == 1 || w.AcquisitionNendo >= fiscalYear || year >= fiscalYear)
            row.F1.reset();
        const bool open = Nz(row.F1) == 0 || year == w.DisposalNendo;
        if (open || method.walksFixedRows()) {
            method.yearlyAmount(mode, year);
            w.YearDepreciation = TruncYen(w.YearDepreciation);
            if (open && neverReachesFloor(year)) {
                ShowMessage(AssetMessage(QStringLiteral("年間の償却額が１円未満のため計算できません。登録番号【"),
                                         w.AssetId));
                w.LastWrittenIndex = w.YearIndex - 1;
                return false;
            }
            if (row.変更償却額)
                w.YearDepreciation = *row.変更償却額;
            if (w.YearIndex == 0 && w.FirstYearMode == 1)
                w.YearDepreciation = Currency();
            row.Sub = w.YearIndex;
            row.Nendo = year;
        }
        if (open)
            CalcWA(data, row);
        w.YearIndex += 1;
        w.AddedBalance = Currency();
        w.SubsidyAdded = Currency();
        w.OpeningBalance = Nz(row.期末残高);
    } while (w.ContinueYears);
    return true;
}

// A year from the current one on whose amount comes to 0 yen while the book
// value is above the floor would repeat for ever.
bool AssetCalculator::neverReachesFloor(int year) const
{
    const AssetWork &w = m_work;
    if (year < m_options.FiscalYear || w.YearIndex == 0 || year == w.DisposalNendo
        || w.YearDepreciation != Currency())
        return false;
    const Currency remaining = w.OpeningBalance - w.PendingPartialAmount;
    return w.ResidualAmount < remaining && MemoUnits(w.MemoValue) < remaining;
}

// "無償却" and "消耗備品": the book value changes only by entered amounts,
// which do not count as depreciation.
void AssetCalculator::nonDepreciableLoop(AssetData &data, int mode)
{
    AssetRecord &a = data.asset;
    AssetWork &w = m_work;
    const int fiscalYear = m_options.FiscalYear;
    a.償却率.reset();
    a.償却額.reset();
    Currency previousClose;
    do {
        YearRow &row = YearRows::findOrAppend(data.rows, w.AssetId, w.YearIndex);
        const int year = w.AcquisitionNendo + w.YearIndex;
        if (mode == 1)
            row.F1.reset();
        if (Nz(row.F1) == 0 || year == w.DisposalNendo) {
            if (year < fiscalYear)
                row.F1 = 1;
            row.Sub = w.YearIndex;
            row.Nendo = year;
            if (w.YearIndex == 0) {
                row.期首残高 = Currency();
                row.当年償却額 = Currency();
                row.期末残高 = w.BasePrice;
            } else {
                const Currency writeDown = Nz(row.変更償却額);
                row.期首残高 = previousClose;
                row.当年償却額 = Currency();
                row.期末残高 = previousClose - writeDown;
                w.BasePrice -= writeDown;
            }
            row.kin1 = Currency();
            w.ContinueYears = year < fiscalYear;
            if (year == w.DisposalNendo) {
                row.期首残高 = w.BasePrice;
                row.当年償却額 = Currency();
                row.期末残高 = Currency();
                row.期末償却累計 = Currency();
                row.kin1 = w.BasePrice;
                w.ContinueYears = false;
            }
            w.LastWrittenIndex = w.YearIndex;
        }
        previousClose = Nz(row.期末残高);
        w.YearIndex += 1;
    } while (w.ContinueYears);
}

// Drops the rows after the last year and copies the current fiscal year's
// figures into the asset row.
void AssetCalculator::endOfAsset(AssetData &data, bool trimRows)
{
    AssetRecord &a = data.asset;
    const AssetWork &w = m_work;
    const CalcOptions &o = m_options;
    if (trimRows) {
        const auto keep = static_cast<size_t>(std::max(w.LastWrittenIndex + 1, 0));
        if (data.rows.size() > keep)
            data.rows.resize(keep);
    }

    if (const YearRow *row = YearRows::findNendo(data.rows, o.FiscalYear)) {
        a.期首簿価 = Nz(row->期首残高);
        a.償却額 = Nz(row->当年償却額);
        a.期末簿価 = Nz(row->期末残高);
        a.期首償却累計 = Nz(row->期首償却累計);
        a.期末償却累計 = Nz(row->期末償却累計);
        a.kin1 = Nz(row->kin1);
        if (w.Method == 2 || w.Method == 3) {
            a.期首償却累計 = Currency();
            a.期末償却累計 = Currency();
        }
        return;
    }

    const YearRow last = YearRows::lastByNendo(data.rows);
    a.期首簿価 = Nz(last.期末残高);
    a.償却額 = Currency();
    a.償却月数.reset();
    a.期末簿価 = Nz(last.期末残高);
    a.期首償却累計 = Nz(last.期末償却累計);
    a.期末償却累計 = Nz(last.期末償却累計);
    a.kin1 = Nz(last.kin1);
    if (w.PurchaseDate > o.FiscalStart) {
        a.期首簿価 = a.償却額 = a.期末簿価 = a.期首償却累計 = a.期末償却累計 = Currency();
        a.償却月数.reset();
    }
    if (a.廃棄日 && o.FiscalYear > w.DisposalNendo) {
        a.期首簿価 = a.償却額 = a.期末簿価 = Currency();
        a.償却月数.reset();
        a.期首償却累計 = a.期末償却累計 = Currency();
        a.kin1 = w.BasePrice;
    }
    if (a.廃棄日 && o.FiscalYear == w.DisposalNendo) {
        a.償却額 = a.期末簿価 = Currency();
        a.償却月数.reset();
        a.期末償却累計 = Currency();
        a.kin1 = w.BasePrice;
    }
    if (a.一部除却日 && Nz(a.一部除却日) > o.FiscalStart && Nz(a.一部除却日) < o.FiscalEnd) {
        a.一部除却期首額 = Nz(last.一部除却額);
        a.一部除却期首額国 = Nz(last.一部除却額国);
        a.一部除却期首累計額国 = Nz(last.一部除却額国);
    }
}

// ------------------------------------------------------------- year writers

Currency AssetCalculator::disposalShare(Currency amount) const
{
    if (m_options.DisposalMonthly == 0)
        return Currency();
    return ByRounding(ToUnits(Yen(amount) / 12 * m_work.DisposalMonths), m_options.RoundingMode);
}

void AssetCalculator::CalcWA(AssetData &data, YearRow &row)
{
    AssetRecord &a = data.asset;
    AssetWork &w = m_work;
    const Currency o = w.OpeningBalance;
    const Currency p = w.PendingPartialAmount;
    const Currency d = w.YearDepreciation;
    const Currency r = w.ResidualAmount;
    const Currency m = MemoUnits(w.MemoValue);
    const int nendo = Nz(row.Nendo);
    const int fiscalYear = m_options.FiscalYear;

    const bool atFloor = w.YearIndex != 0 && (r >= o - p - d || m >= o - p - d);
    if (!atFloor) {
        w.OpeningBalance = HalfUp(o);
        row.期首残高 = w.OpeningBalance;
        row.当年償却額 = d;
        row.期末残高 = w.AddedBalance + w.OpeningBalance - d;
        w.ContinueYears = true;
    } else {
        row.期首残高 = o;
        if (r > o - p)
            w.ResidualAmount = o - p;
        row.当年償却額 = o - p - w.ResidualAmount;
        row.期末残高 = w.ResidualAmount;
        if (w.ResidualAmount == Currency()) {
            row.期末残高 = m;
            row.当年償却額 = o - p - w.ResidualAmount - m;
        }
        w.ContinueYears = nendo < fiscalYear;
        if (w.ResidualPending)
            w.ContinueYears = true;
        if (nendo == fiscalYear && Nz(row.期末残高) == Currency())
            w.ContinueYears = false;
        w.LastWrittenIndex = w.YearIndex;
    }

    row.kin1 = Currency();
    row.一部除却額.reset();
    row.除却後購入価格B.reset();
    if (a.一部除却日 && nendo >= w.PartialNendo) {
        row.除却後購入価格B = Nz(a.除却後購入価格);
        if (nendo == w.PartialNendo) {
            if (fiscalYear == w.PartialNendo) {
                row.一部除却額 = p;
                a.一部除却期首額 = p;
                a.一部除却期首累計額 = Nz(a.一部除却額) - p;
            }
            row.期末残高 = o - Nz(row.当年償却額) - p;
            w.PendingPartialAmount = Currency();
        }
        row.kin1 = Nz(a.購入価格) - Nz(row.除却後購入価格B);
        if (nendo == w.DisposalNendo)
            w.BasePrice = Nz(a.購入価格);
    }

    row.期首償却累計 = w.BasePrice - Nz(row.期首残高) - w.AddedBalance;
    row.期末償却累計 = w.BasePrice - Nz(row.期末残高);

    if (nendo == w.DisposalNendo) {
        row.期首残高 = o;
        row.期末残高 = Currency();
        row.当年償却額 = disposalShare(Nz(row.当年償却額));
        row.期末償却累計 = Currency();
        row.kin1 = w.BasePrice;
        w.ContinueYears = false;
        w.LastWrittenIndex = w.YearIndex;
    }
}

void AssetCalculator::CalcWB(AssetData &data, YearRow &row, int)
{
    AssetRecord &a = data.asset;
    AssetWork &w = m_work;
    const Currency so = w.SubsidyOpening;
    const Currency sd = w.SubsidyDrawdown;
    const Currency sr = w.SubsidyResidualAmount;
    const Currency sa = w.SubsidyAdded;
    const Currency p = w.PendingPartialAmount;
    const Currency q = w.PendingSubsidyPartialAmount;
    const int nendo = Nz(row.Nendo);

    if (m_options.SubsidyResidual != 2)
        row.国補期首調整２３.reset();
    const bool atFloor = w.YearIndex != 0 && sr >= so - sd;
    if (!atFloor) {
        if (sa + so - sd < Currency())
            w.SubsidyDrawdown = so;
        row.国補期首残高 = so;
        row.国補当年取崩額 = w.SubsidyDrawdown;
        row.国補期末残高 = sa + so - w.SubsidyDrawdown;
    } else {
        row.国補期首残高 = so;
        if (sr > so - p)
            w.SubsidyResidualAmount = so - p;
        row.国補当年取崩額 = so - p - w.SubsidyResidualAmount;
        row.国補期末残高 = w.SubsidyResidualAmount;
    }

    row.kin2 = Currency();
    row.一部除却額国.reset();
    row.除却後購入価格B国.reset();
    if (a.一部除却日 && nendo >= w.PartialNendo) {
        row.除却後購入価格B国 = Nz(a.除却後購入価格国);
        if (nendo == w.PartialNendo) {
            if (m_options.FiscalYear == w.PartialNendo) {
                row.一部除却額国 = q;
                a.一部除却期首額国 = q;
                a.一部除却期首累計額国 = Nz(a.一部除却額国Ａ) - q;
            }
            row.国補期末残高 = so - Nz(row.国補当年取崩額) - q;
            w.PendingSubsidyPartialAmount = Currency();
        }
        row.kin2 = Nz(a.国補積立金) - Nz(row.除却後購入価格B国);
        if (nendo == w.DisposalNendo)
            w.SubsidyAmount = Nz(a.国補積立金);
    }

    row.国補期首取崩累計 = w.SubsidyAmount - Nz(row.国補期首残高) - sa;
    row.国補期末取崩累計 = w.SubsidyAmount - Nz(row.国補期末残高);

    if (nendo == w.DisposalNendo) {
        row.国補期首残高 = so;
        row.国補期末残高 = Currency();
        row.国補当年取崩額 = disposalShare(Nz(row.国補当年取崩額));
        row.国補期末取崩累計 = Currency();
        row.kin2 = w.SubsidyAmount;
    }
}

} // namespace qpn
