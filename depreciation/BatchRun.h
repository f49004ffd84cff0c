#pragma once

#include <functional>
#include <optional>

namespace qpn::engine {
class Database;
}

namespace qpn {

// The yearly batch run over every asset of the register: the protection
// choice, then the asset pass and the subsidy pass of each asset in key
// order. Each asset is saved whole or not at all: a savepoint of a
// transaction that spans many assets, so a failure takes back that asset
// alone and keeps the ones before it. Messages and the question of the
// recalculation choice go through the dialog seam.
class BatchRun
{
public:
    enum Choice { Protect = 0, Recalculate = 1 };
    enum class Outcome {
        Completed,
        Cancelled, // the recalculation question was not answered Yes
        NoAssets,  // the asset table is empty ("計算する資産がありません。")
        Stopped,   // an asset failed a check; its message has been shown
    };
    // Called before each asset with its position from 0 and the number of assets.
    using Progress = std::function<void(int index, int count)>;

    explicit BatchRun(engine::Database &database);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // The fiscal year before which Protect fixes the stored rows: the year of
    // the header's fiscal start; AppOptions().FiscalYear when not set.
    void setProtectYear(int year) { m_protectYear = year; }

    // Protect: every stored row of a year before the current fiscal year is
    // fixed first. Recalculate: asks first, then clears every mark. A run
    // always starts at the first asset.
    Outcome run(int choice);

    // The asset at which the last run stopped, 0 when it did not.
    int stoppedAssetId() const { return m_stoppedAssetId; }
    int assetsCalculated() const { return m_assetsCalculated; }

private:
    engine::Database &m_database;
    Progress m_progress;
    std::optional<int> m_protectYear;
    int m_stoppedAssetId = 0;
    int m_assetsCalculated = 0;
};

} // namespace qpn
