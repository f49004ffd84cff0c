#pragma once

#include "depreciation/AssetData.h"
#include "engine/Database.h"
#include "tests/depreciation/DepreciationFixture.h"

#include <QTemporaryDir>

#include <memory>

namespace qpn::test {

// A register of its own in a temporary folder: the header table in the base
// folder, every data table in QPNdata reached as "AAA", fiscal year 2020 from
// 1 April in AppOptions, and a dialog seam that records the messages.
class RegisterTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString base() const { return m_dir.path(); }
    QString data() const { return m_dir.path() + QStringLiteral("/QPNdata"); }

    // Stores an asset and its rows as given.
    void store(const AssetData &asset);
    AssetData loaded(int id);
    void setFiscalYear(int year);

    QTemporaryDir m_dir;
    RecordingDialogs m_dialogs;
    std::unique_ptr<ScopedDialogs> m_scope;
    std::unique_ptr<engine::Database> m_database;
};

} // namespace qpn::test
