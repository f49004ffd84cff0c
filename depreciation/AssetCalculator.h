#pragma once

#include "depreciation/AssetData.h"
#include "depreciation/AssetWork.h"
#include "depreciation/CalcOptions.h"
#include "depreciation/RateTable.h"
#include "lib/Currency.h"

namespace qpn {

class DepreciationMethod;

// How the asset pass of one asset ended.
enum class AssetPassEnd {
    Completed,      // years calculated, rows trimmed, summary written
    ZeroRate,       // no straight-line rate: rows and summary left alone
    AmountTooSmall, // a yearly amount under one yen: rows kept up to that year
    UnknownMethod,  // a method code outside 0 to 3: existing rows kept
};

// The per-asset depreciation passes over one asset's rows in memory: the asset
// pass Calc1A, the subsidy pass Calc1B and their year writers CalcWA and CalcWB.
// One calculator serves one asset at a time; Calc1B continues from the working
// state Calc1A left, so call both, in that order, for each asset.
class AssetCalculator
{
public:
    explicit AssetCalculator(const RateTable &rates = TheRateTable());

    // Read on every asset; set before each call.
    void setOptions(const CalcOptions &options) { m_options = options; }
    const CalcOptions &options() const { return m_options; }

    // mode 1 recalculates fixed years; a change ≥ 0 is the current year's
    // opening book value (subsidy balance for Calc1B) to use, negative none.
    // Throws CalculationStopped after showing the message of a failed check.
    AssetPassEnd Calc1A(AssetData &data, int mode, Currency bookValueChange, Currency subsidyValueChange);
    void Calc1B(AssetData &data, int mode, Currency bookValueChange, Currency subsidyValueChange);

    // The year writers: fill the given row of the asset from the working state.
    void CalcWA(AssetData &data, YearRow &row);
    void CalcWB(AssetData &data, YearRow &row, int mode);

    const AssetWork &work() const { return m_work; }

private:
    void deriveYears();
    int nendoOf(DateTime date) const;
    void applyBookValueChange(AssetData &data, Currency change);
    void partialDisposalOfThisYear(AssetData &data);
    void checkAsset(const AssetRecord &asset) const;
    bool yearLoop(AssetData &data, int mode, DepreciationMethod &method);
    bool neverReachesFloor(int year) const;
    void nonDepreciableLoop(AssetData &data, int mode);
    void endOfAsset(AssetData &data, bool trimRows);
    Currency disposalShare(Currency amount) const;

    void applySubsidyValueChange(AssetData &data, Currency change);
    bool straightLineSubsidy(AssetData &data, int mode);
    void proportionalSubsidy(AssetData &data, int mode, Currency change);
    void subsidySummary(AssetData &data);

    const RateTable &m_rates;
    CalcOptions m_options;
    AssetWork m_work;
};

} // namespace qpn
