#pragma once

#include "depreciation/DepreciationMethod.h"

namespace qpn {

struct AssetWork;
struct CalcOptions;
class RateTable;

// Straight-line depreciation, with the residual handling of assets acquired
// before April 2007 chosen by the residual-method option.
class StraightLineMethod final : public DepreciationMethod
{
public:
    StraightLineMethod(AssetWork &work, const CalcOptions &options, const RateTable &rates);

    bool setup(AssetRecord &asset) override;
    void yearlyAmount(int mode, int year) override;
    bool walksFixedRows() const override { return false; }

private:
    void taxLawAmount(int mode, int year);

    AssetWork &m_work;
    const CalcOptions &m_options;
    const RateTable &m_rates;
    bool m_finalStage = false; // the five-year write-down has started
    int m_floorCount = 0;      // how far the asset has settled at the 5 % floor
};

} // namespace qpn
