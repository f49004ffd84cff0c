#pragma once

#include "engine/Schema.h"

#include <QString>
#include <QVariant>

namespace qpn::engine {

class DbStatement;

// Conversions between the values callers give (see Field.h for the QVariant
// types), the storage values in the files (qint64, double, ISO text, text)
// and the key values the cursors sort by. Every refusal is an EngineError
// naming the field and the table.
namespace codec {

// The column's canonical value for what a caller gives; null stays null and
// an empty text is null. Checks ranges, sizes in CP932 bytes and that every
// character has a CP932 form.
QVariant Normalize(const ColumnDef &column, const QVariant &value, const QString &table);
// Checks a text for a Char or Memo column.
void CheckText(const ColumnDef &column, const QString &text, const QString &table);

QVariant ToStorage(const ColumnDef &column, const QVariant &canonical);
// Binds a canonical value as its storage value, without building that first.
void Bind(DbStatement &statement, int index, const ColumnDef &column, const QVariant &canonical);
QVariant FromStorage(const ColumnDef &column, const QVariant &storage);
QVariant Read(const ColumnDef &column, const DbStatement &statement, int index);

// Sortable form of a canonical value: qint64, double or QString (null stays null).
QVariant KeyOf(const ColumnDef &column, const QVariant &canonical);
// Orders key values: null first, then by value.
int CompareKeys(const QVariant &a, const QVariant &b);

// The declared SQLite type of a column.
QString SqlType(FieldType type);

QString IsoDate(const QDate &date);
QString IsoDateTime(const QDateTime &dateTime);
// Reads "2019-04-01", "2019/4/1" and either with a time; invalid when it is none.
QDateTime ParseDateText(const QString &text);

} // namespace codec
} // namespace qpn::engine
