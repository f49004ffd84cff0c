#pragma once

#include "lib/DateValue.h"
#include "platform/ScriptedDialogs.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace qpn::test
{

// A register of its own: HeadM in the base folder, the data tables in
// QPNdata, AppOptions cleared, today fixed at 1 April 2020, and a scripted
// dialog seam.
class HeaderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString base() const { return m_dir.path(); }
    QString data() const { return m_dir.path() + QStringLiteral("/QPNdata"); }

    static void setToday(DateTime today);
    // Writes the header row (made when missing) with the values given.
    void setHeader(const std::map<QString, QVariant> &values) const;
    // The stored value of a header column; invalid when null or without a row.
    QVariant header(const QString &column) const;
    bool hasHeaderRow() const;

    // Stores a year row of an asset with its fixed mark (null when absent).
    void addYearRow(int id, int sub, int nendo, std::optional<int> f1 = std::nullopt) const;
    // The fixed marks of an asset's rows by fiscal year, 0 for an open row.
    std::map<int, int> fixedMarks(int id) const;

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
};

} // namespace qpn::test
