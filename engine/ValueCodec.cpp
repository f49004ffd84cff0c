#include "engine/ValueCodec.h"

#include "engine/DbStatement.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/Field.h"
#include "lib/Cp932.h"
#include "lib/Currency.h"
#include "lib/DateValue.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace qpn::engine::codec {

namespace {

[[noreturn]] void refuse(const char *message, const ColumnDef &column, const QString &table)
{
    throw EngineError(EngineMessage(message, {column.name, table}));
}

qint64 checkedRange(const ColumnDef &column, long double value, const QString &table)
{
    const long double low = column.type == FieldType::SmallInt ? -32768.0L : -2147483648.0L;
    const long double high = column.type == FieldType::SmallInt ? 32767.0L : 2147483647.0L;
    if (std::isnan(value))
        refuse(text::BelowMinimum, column, table);
    if (value < low)
        refuse(text::BelowMinimum, column, table);
    if (value > high)
        refuse(text::AboveMaximum, column, table);
    return static_cast<qint64>(value);
}

bool isCurrency(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<Currency>();
}

long double numberOf(const ColumnDef &column, const QVariant &value, const QString &table)
{
    if (isCurrency(value))
        return value.value<Currency>().toLongDouble();
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? 1 : 0;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return static_cast<long double>(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QDate:
        return FromQDate(value.toDate());
    default: break;
    }
    const QString text = value.toString().trimmed();
    bool ok = false;
    const double parsed = QString(text).remove(u',').toDouble(&ok);
    if (!ok)
        throw EngineError(EngineMessage(text::NotNumber, {text, column.name, table}));
    return parsed;
}

// Rounds half to even, as the register's amounts do.
qint64 roundEven(long double value)
{
    return static_cast<qint64>(std::nearbyintl(value));
}

QDateTime dateTimeOf(const ColumnDef &column, const QVariant &value, const QString &table)
{
    switch (value.typeId()) {
    case QMetaType::QDate: return value.toDate().startOfDay();
    case QMetaType::QDateTime: return value.toDateTime();
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const double days = value.toDouble();
        const QDate date = ToQDate(std::floor(days));
        const double fraction = days - std::floor(days);
        return QDateTime(date, QTime(0, 0).addMSecs(qRound64(fraction * 86400000.0)));
    }
    default: break;
    }
    const QString text = value.toString().trimmed();
    const QDateTime parsed = ParseDateText(text);
    if (!parsed.isValid())
        throw EngineError(EngineMessage(text::NotDate, {text, column.name, table}));
    return parsed;
}

} // namespace

void CheckText(const ColumnDef &column, const QString &value, const QString &table)
{
    char32_t bad = 0;
    if (!CanEncodeCp932(value, &bad)) {
        const QString character = QString::fromUcs4(&bad, 1);
        const QString code = QStringLiteral("U+%1").arg(uint(bad), 4, 16, QLatin1Char('0')).toUpper().replace(QStringLiteral("0X"), QString());
        throw EngineError(EngineMessage(text::NotCp932, {character, code, column.name, table}));
    }
    if (column.type == FieldType::Char && Cp932ByteLength(value) > column.size)
        throw EngineError(EngineMessage(text::SizeExceeded, {table}));
}

QVariant Normalize(const ColumnDef &column, const QVariant &value, const QString &table)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const bool blankText = value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
    switch (column.type) {
    case FieldType::SmallInt:
    case FieldType::Integer: {
        if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            const qint64 number = value.toLongLong();
            return QVariant(int(checkedRange(column, static_cast<long double>(number), table)));
        }
        if (blankText)
            return QVariant();
        return QVariant(int(checkedRange(column, std::nearbyintl(numberOf(column, value, table)), table)));
    }
    case FieldType::Float:
        if (blankText)
            return QVariant();
        return QVariant(double(numberOf(column, value, table)));
    case FieldType::Money: {
        if (blankText)
            return QVariant();
        if (isCurrency(value))
            return value;
        if (value.typeId() == QMetaType::QString) {
            try {
                return QVariant::fromValue(ParseCurrency(value.toString()));
            } catch (const std::invalid_argument &) {
                throw EngineError(EngineMessage(text::NotNumber, {value.toString(), column.name, table}));
            }
        }
        const long double amount = numberOf(column, value, table);
        if (std::fabs(amount) > 9.2e14L)
            refuse(amount < 0 ? text::BelowMinimum : text::AboveMaximum, column, table);
        return QVariant::fromValue(ToUnits(amount));
    }
    case FieldType::Date: {
        if (blankText)
            return QVariant();
        const QDate date = dateTimeOf(column, value, table).date();
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case FieldType::DateTime: {
        if (blankText)
            return QVariant();
        const QDateTime dateTime = dateTimeOf(column, value, table);
        return dateTime.isValid() ? QVariant(dateTime) : QVariant();
    }
    case FieldType::Boolean: {
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return QVariant();
            if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || text == QStringLiteral("1"))
                return QVariant(true);
            if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0 || text == QStringLiteral("0"))
                return QVariant(false);
            throw EngineError(EngineMessage(text::InvalidField, {column.name, table}));
        }
        return QVariant(numberOf(column, value, table) != 0);
    }
    case FieldType::Char:
    case FieldType::Memo: {
        QString text;
        if (isCurrency(value))
            text = CurrencyPlainText(value.value<Currency>());
        else if (value.typeId() == QMetaType::QDate)
            text = value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
        else
            text = value.toString();
        if (text.isEmpty())
            return QVariant();
        CheckText(column, text, table);
        return QVariant(text);
    }
    }
    return QVariant();
}

QString IsoDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString IsoDateTime(const QDateTime &dateTime)
{
    return dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime ParseDateText(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d{4})[-/](\d{1,2})[-/](\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?$)"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return QDateTime();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return QDateTime();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!time.isValid())
        return QDateTime();
    return QDateTime(date, time);
}

QVariant ToStorage(const ColumnDef &column, const QVariant &canonical)
{
    if (!canonical.isValid() || canonical.isNull())
        return QVariant();
    switch (column.type) {
    case FieldType::SmallInt:
    case FieldType::Integer: return QVariant(qint64(canonical.toInt()));
    case FieldType::Float: return QVariant(canonical.toDouble());
    case FieldType::Money: return QVariant(qint64(canonical.value<Currency>().units()));
    case FieldType::Date: return QVariant(IsoDate(canonical.toDate()));
    case FieldType::DateTime: return QVariant(IsoDateTime(canonical.toDateTime()));
    case FieldType::Boolean: return QVariant(qint64(canonical.toBool() ? 1 : 0));
    case FieldType::Char:
    case FieldType::Memo: return QVariant(canonical.toString());
    }
    return QVariant();
}

void Bind(DbStatement &statement, int index, const ColumnDef &column, const QVariant &canonical)
{
    if (!canonical.isValid() || canonical.isNull()) {
        statement.bindNull(index);
        return;
    }
    switch (column.type) {
    case FieldType::SmallInt:
    case FieldType::Integer: statement.bindInt64(index, canonical.toInt()); return;
    case FieldType::Boolean: statement.bindInt64(index, canonical.toBool() ? 1 : 0); return;
    case FieldType::Money: statement.bindInt64(index, canonical.value<Currency>().units()); return;
    case FieldType::Float: statement.bindDouble(index, canonical.toDouble()); return;
    default: statement.bind(index, ToStorage(column, canonical)); return;
    }
}

QVariant FromStorage(const ColumnDef &column, const QVariant &storage)
{
    if (!storage.isValid() || storage.isNull())
        return QVariant();
    const bool isReal = storage.typeId() == QMetaType::Double;
    switch (column.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        return QVariant(int(isReal ? roundEven(storage.toDouble()) : storage.toLongLong()));
    case FieldType::Float: return QVariant(storage.toDouble());
    case FieldType::Money:
        // Sums and expressions of SQL statements may come back as reals.
        return QVariant::fromValue(Currency::fromUnits(isReal ? roundEven(storage.toDouble()) : storage.toLongLong()));
    case FieldType::Date: {
        if (storage.typeId() != QMetaType::QString)
            return QVariant();
        const QDateTime parsed = ParseDateText(storage.toString());
        return parsed.isValid() ? QVariant(parsed.date()) : QVariant();
    }
    case FieldType::DateTime: {
        if (storage.typeId() != QMetaType::QString)
            return QVariant();
        const QDateTime parsed = ParseDateText(storage.toString());
        return parsed.isValid() ? QVariant(parsed) : QVariant();
    }
    case FieldType::Boolean: return QVariant(storage.toLongLong() != 0);
    case FieldType::Char:
    case FieldType::Memo: return QVariant(storage.toString());
    }
    return QVariant();
}

QVariant Read(const ColumnDef &column, const DbStatement &statement, int index)
{
    // Integers straight from the statement; the rest through their storage value.
    if (statement.isNull(index))
        return QVariant();
    if (statement.isInteger(index)) {
        switch (column.type) {
        case FieldType::SmallInt:
        case FieldType::Integer: return QVariant(int(statement.int64(index)));
        case FieldType::Money: return QVariant::fromValue(Currency::fromUnits(statement.int64(index)));
        case FieldType::Boolean: return QVariant(statement.int64(index) != 0);
        default: break;
        }
    }
    return FromStorage(column, statement.storage(index));
}

QVariant KeyOf(const ColumnDef &column, const QVariant &canonical)
{
    if (!canonical.isValid() || canonical.isNull())
        return QVariant();
    switch (column.type) {
    case FieldType::SmallInt:
    case FieldType::Integer: return QVariant(qint64(canonical.toInt()));
    case FieldType::Boolean: return QVariant(qint64(canonical.toBool() ? 1 : 0));
    case FieldType::Money: return QVariant(qint64(canonical.value<Currency>().units()));
    case FieldType::Float: return QVariant(canonical.toDouble());
    case FieldType::Date: return QVariant(IsoDate(canonical.toDate()));
    case FieldType::DateTime: return QVariant(IsoDateTime(canonical.toDateTime()));
    case FieldType::Char:
    case FieldType::Memo: return QVariant(canonical.toString());
    }
    return QVariant();
}

int CompareKeys(const QVariant &a, const QVariant &b)
{
    const bool aNull = !a.isValid();
    const bool bNull = !b.isValid();
    if (aNull || bNull)
        return aNull == bNull ? 0 : (aNull ? -1 : 1);
    switch (a.typeId()) {
    case QMetaType::LongLong: {
        if (b.typeId() == QMetaType::Double) {
            const double x = double(a.toLongLong()), y = b.toDouble();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        const qint64 x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case QMetaType::Double: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    default: {
        const int c = QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    }
}

QString SqlType(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Money:
    case FieldType::Boolean: return QStringLiteral("INTEGER");
    case FieldType::Float: return QStringLiteral("REAL");
    case FieldType::Date:
    case FieldType::DateTime:
    case FieldType::Char:
    case FieldType::Memo: return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

} // namespace qpn::engine::codec
