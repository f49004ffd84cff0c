#pragma once

namespace qpn {

struct AssetRecord;

// The yearly amount of one depreciating method, plugged into the year loop of
// the asset pass. One object serves one asset's loop.
class DepreciationMethod
{
public:
    virtual ~DepreciationMethod() = default;

    // Once per asset after the checks: rates, amounts and the method's columns
    // of the asset row. False when the asset cannot be calculated (its message
    // has been shown).
    virtual bool setup(AssetRecord &asset) = 0;

    // Sets YearDepreciation for the year being calculated (year = its Nendo).
    virtual void yearlyAmount(int mode, int year) = 0;

    // True when the amount is worked out for fixed rows too, so the stage
    // state follows their stored book values.
    virtual bool walksFixedRows() const = 0;
};

} // namespace qpn
