#pragma once

#include "engine/Schema.h"
#include "engine/Table.h"
#include "lib/Currency.h"
#include "tests/support/SupportPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace qpn::engine {

// A register of its own in a temporary folder, with tables shaped like the
// asset year rows (daicyoB) and the account list (kamoku).
class EngineFixture : public ::testing::Test
{
protected:
    QString folder() const { return m_dir.path(); }

    static TableSchema yearRows();  // daicyoB: ID, Sub, Nendo, 期首残高, 当年償却額, F1; key (ID, Sub); NendoInx
    static TableSchema accounts();  // kamoku: ID SmallInt, kamokumei Char(30), kubun SmallInt, memo Memo
    static TableSchema allTypes();  // one column of every type, key ID

    void create(const TableSchema &schema);
    std::unique_ptr<Table> open(const QString &name, const QString &session = QString());
    void addYearRow(Table &table, int id, int sub, int nendo, qint64 yen);
    void fillYearRows(); // IDs 1..3, four years each (2019..2022), amounts id*1000+sub

    // The error message of a call that must fail; fails the test when it succeeds.
    static QString errorOf(const std::function<void()> &call);

    QTemporaryDir m_dir;
};

} // namespace qpn::engine
