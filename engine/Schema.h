#pragma once

#include <QString>
#include <QStringList>
#include <QList>

namespace qpn::engine {

// Column types of the register's tables.
enum class FieldType {
    SmallInt, // signed 16-bit
    Integer,  // signed 32-bit
    Float,    // double
    Money,    // exact, ten-thousandths of a yen
    Date,     // date without time
    DateTime, // date with time of day
    Boolean,
    Char,     // CHAR/CHARACTER/VARCHAR(n): at most n bytes of CP932
    Memo,     // text of any length
};

struct ColumnDef
{
    QString name;
    FieldType type = FieldType::Integer;
    int size = 0; // bytes, for Char only
};

struct IndexDef
{
    QString name;       // empty for the primary index
    QStringList fields;
    bool primary = false;
};

// Everything the engine keeps about one table besides its rows.
struct TableSchema
{
    QString name;                 // as created ("daicyoA")
    QList<ColumnDef> columns;     // in table order
    QStringList primaryKey;       // empty: no primary index
    bool compressKey = false;     // COMPRESS FULL (recorded, no effect on storage)
    QList<IndexDef> indexes;      // secondary indexes
    int userMajorVersion = 0;
    QString language;             // "ANSI Standard"
    QString sort;                 // "Default Order"

    const ColumnDef *column(const QString &columnName) const; // exact name, or nullptr
};

QString FieldTypeName(FieldType type);

} // namespace qpn::engine
