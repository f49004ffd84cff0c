#include "depreciation/AssetCalculation.h"

#include "depreciation/CalculationStopped.h"
#include "depreciation/RateTable.h"
#include "engine/Database.h"
#include "engine/Session.h"

#include <optional>

namespace qpn {

namespace {

// The rates are loaded at start-up; a tool or test that skipped it still
// calculates with them.
const RateTable &LoadedRates()
{
    if (TheRateTable().value(0, RateTable::StraightLine) == 0)
        LoadRateTable();
    return TheRateTable();
}

void MarkStored(AssetData &data)
{
    for (YearRow &row : data.rows)
        row.storedSub = row.Sub;
}

} // namespace

AssetCalculation::AssetCalculation(engine::Database &database)
    : m_database(database)
    , m_store(database.name().isEmpty() ? database.folder() : database.name(), database.session().name())
    , m_calculator(LoadedRates())
{
    m_store.openTables();
}

AssetPassEnd AssetCalculation::calculate(AssetData &data, int mode, Currency bookValueChange,
                                         Currency subsidyValueChange)
{
    const AssetData stored = data;
    return calculate(data, stored, mode, bookValueChange, subsidyValueChange);
}

AssetPassEnd AssetCalculation::calculate(AssetData &data, const AssetData &before, int mode,
                                         Currency bookValueChange, Currency subsidyValueChange)
{
    m_calculator.setOptions(CalcOptions::fromAppOptions());
    // Inside a caller's transaction (a slice of a batch run) the asset is a
    // savepoint of it: a failure takes back exactly this asset's writes.
    std::optional<engine::Transaction> own;
    std::optional<engine::Savepoint> step;
    if (m_database.inTransaction())
        step.emplace(m_database);
    else
        own.emplace(m_database);
    const auto commit = [&own, &step] {
        if (own)
            own->commit();
        if (step)
            step->release();
    };
    AssetPassEnd end = AssetPassEnd::Completed;
    try {
        end = m_calculator.Calc1A(data, mode, bookValueChange, subsidyValueChange);
        m_calculator.Calc1B(data, mode, bookValueChange, subsidyValueChange);
    } catch (const CalculationStopped &) {
        // The asset row stays as it was; an entered book value already went
        // to the previous year's row.
        m_store.save(before, data, false);
        commit();
        throw;
    }
    // The straight-line subsidy rules write every row of a depreciating asset
    // last; a row they cannot save is dropped and reported, and the run goes on.
    const bool subsidyWritesRows = m_calculator.options().SubsidyResidual != 2 && m_calculator.work().Method <= 1;
    const int dropped = m_store.save(before, data, true,
                                     subsidyWritesRows ? AssetStore::RowFailure::DropAndReport
                                                       : AssetStore::RowFailure::Throw);
    commit();
    if (dropped > 0) {
        data.rows = m_store.load(data.asset.ID).value_or(data).rows;
        return end;
    }
    MarkStored(data);
    return end;
}

AssetPassEnd AssetCalculation::calculate(int assetId, int mode, Currency bookValueChange,
                                         Currency subsidyValueChange)
{
    std::optional<AssetData> data = m_store.load(assetId);
    if (!data)
        return AssetPassEnd::Completed;
    return calculate(*data, mode, bookValueChange, subsidyValueChange);
}

} // namespace qpn
