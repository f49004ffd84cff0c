#pragma once

#include "depreciation/DepreciationMethod.h"
#include "lib/Currency.h"

namespace qpn {

struct AssetWork;
struct CalcOptions;
class RateTable;

// Declining-balance depreciation: the old method with its 5 % floor and
// five-year write-down, and the 250 % and 200 % methods with the guarantee
// amount and the revised rate. Amounts are always truncated to the yen.
class DecliningBalanceMethod final : public DepreciationMethod
{
public:
    DecliningBalanceMethod(AssetWork &work, const CalcOptions &options, const RateTable &rates);

    bool setup(AssetRecord &asset) override;
    void yearlyAmount(int mode, int year) override;
    bool walksFixedRows() const override { return true; }

private:
    void oldMethodAmount(int mode, int year);
    void guaranteedAmount();
    Currency firstYearAmount() const;

    AssetWork &m_work;
    const CalcOptions &m_options;
    const RateTable &m_rates;
    bool m_finalStage = false;
    int m_floorCount = 0;
    Currency m_revisedBase; // the opening balance of the first year on the revised rate
};

} // namespace qpn
