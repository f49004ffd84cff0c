#pragma once

#include "depreciation/AssetCalculator.h"
#include "depreciation/AssetStore.h"

namespace qpn::engine {
class Database;
}

namespace qpn {

// Calculates assets of the register: loads an asset with its year rows, runs
// the asset pass and the subsidy pass with the options of AppOptions as they
// stand, and saves what changed in one transaction per asset (or in a
// savepoint of the caller's transaction when one is active, so a failure
// takes back that asset's writes and nothing else). Every caller of
// the calculation (batch run, asset entry, CSV import, conversion) goes
// through one of these, one asset at a time.
class AssetCalculation
{
public:
    // The data folder's database handle; it must be registered by name or
    // carry the folder.
    explicit AssetCalculation(engine::Database &database);

    // mode 1 recalculates fixed years; a change ≥ 0 is the current year's
    // opening book value or subsidy balance, negative (−1 yen) none.
    // Throws CalculationStopped (its message shown) when the asset fails a
    // check; the year rows changed by an entered book value stay saved.
    // On return the asset and its rows are as stored.
    AssetPassEnd calculate(AssetData &data, int mode, Currency bookValueChange, Currency subsidyValueChange);
    // The same for an asset whose rows differ from what is stored (the batch
    // run clears the fixed marks of a recalculation in memory): what is
    // written is the difference from the stored state.
    AssetPassEnd calculate(AssetData &data, const AssetData &stored, int mode, Currency bookValueChange,
                           Currency subsidyValueChange);
    // The same for the stored asset with this number; Completed when there is none.
    AssetPassEnd calculate(int assetId, int mode, Currency bookValueChange, Currency subsidyValueChange);

    const AssetStore &store() const { return m_store; }
    const AssetCalculator &calculator() const { return m_calculator; }

private:
    engine::Database &m_database;
    AssetStore m_store;
    AssetCalculator m_calculator;
};

} // namespace qpn
