#pragma once

#include <QByteArray>
#include <QString>

namespace qpn::testing {

// One part of a zip container (an .xlsx), read with the unzip tool.
QString ReadZipPart(const QString &zipPath, const QString &part);
// The raw bytes of a file.
QByteArray ReadBytes(const QString &path);
void WriteBytes(const QString &path, const QByteArray &bytes);

} // namespace qpn::testing

#include "engine/Schema.h"

#include <QTemporaryDir>
#include <QVariantList>

#include <gtest/gtest.h>

#include <memory>

namespace qpn::engine {
class Table;
}

namespace qpn::testing {

// A folder with one table "typesT" holding a column of every type:
// ID Integer (key), Qty SmallInt, Rate Float, Price Money, Day Date, Flag
// Boolean, Name Char(40), Memo Memo.
class TypesTableTest : public ::testing::Test
{
protected:
    void SetUp() override;
    std::unique_ptr<engine::Table> openTable() const;
    // Appends a row: ID, Qty, Rate, Price (yen), Day (ISO), Flag, Name, Memo; invalid QVariant = null.
    void addRow(const QVariantList &values) const;
    // Every row as text "ID|Qty|...|Memo", nulls as "<null>".
    QStringList dump() const;
    QString path(const QString &name) const;

    static engine::TableSchema schema();
    QTemporaryDir m_dir;
};

} // namespace qpn::testing
