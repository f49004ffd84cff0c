#include "engine/Field.h"

#include "engine/Dataset.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/ValueCodec.h"
#include "lib/DateFormat.h"
#include "lib/DisplayFormat.h"

#include <QDateTime>

#include <cmath>
#include <stdexcept>

namespace qpn::engine {

namespace {

DateTime fromDateTime(const QDateTime &dateTime)
{
    return FromQDate(dateTime.date()) + dateTime.time().msecsSinceStartOfDay() / 86400000.0;
}

int roundEven(long double value)
{
    return static_cast<int>(std::nearbyintl(value));
}

} // namespace

Field::Field(Dataset &dataset, const ColumnDef &definition, int index)
    : m_dataset(dataset)
    , m_definition(definition)
    , m_index(index)
{
}

bool Field::isNull() const
{
    return !value().isValid();
}

void Field::clear()
{
    setValue(QVariant());
}

QVariant Field::value() const
{
    return m_dataset.currentValue(m_index);
}

void Field::setValue(const QVariant &value)
{
    if (m_readOnly)
        throw EngineError(EngineMessage(text::FieldReadOnly, {fieldName()}));
    m_dataset.setCurrentValue(m_index, value);
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (!v.isValid())
        return 0;
    switch (dataType()) {
    case FieldType::SmallInt:
    case FieldType::Integer: return v.toInt();
    case FieldType::Boolean: return v.toBool() ? 1 : 0;
    case FieldType::Float: return roundEven(v.toDouble());
    case FieldType::Money: return roundEven(v.value<Currency>().toLongDouble());
    case FieldType::Date:
    case FieldType::DateTime: return int(std::floor(asDateTime()));
    case FieldType::Char:
    case FieldType::Memo: {
        bool ok = false;
        const int parsed = v.toString().trimmed().toInt(&ok);
        if (!ok)
            throw EngineError(EngineMessage(text::NotNumber, {v.toString(), fieldName(), m_dataset.displayName()}));
        return parsed;
    }
    }
    return 0;
}

void Field::setAsInteger(int value)
{
    setValue(QVariant(value));
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (!v.isValid())
        return 0;
    switch (dataType()) {
    case FieldType::Money: return double(v.value<Currency>().toLongDouble());
    case FieldType::Date:
    case FieldType::DateTime: return asDateTime();
    case FieldType::Boolean: return v.toBool() ? 1 : 0;
    case FieldType::Char:
    case FieldType::Memo: {
        bool ok = false;
        const double parsed = v.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw EngineError(EngineMessage(text::NotNumber, {v.toString(), fieldName(), m_dataset.displayName()}));
        return parsed;
    }
    default: return v.toDouble();
    }
}

void Field::setAsFloat(double value)
{
    setValue(QVariant(value));
}

Currency Field::asCurrency() const
{
    const QVariant v = value();
    if (!v.isValid())
        return Currency();
    switch (dataType()) {
    case FieldType::Money: return v.value<Currency>();
    case FieldType::SmallInt:
    case FieldType::Integer: return Currency::fromYen(v.toInt());
    case FieldType::Char:
    case FieldType::Memo:
        try {
            return ParseCurrency(v.toString());
        } catch (const std::invalid_argument &) {
            throw EngineError(EngineMessage(text::NotNumber, {v.toString(), fieldName(), m_dataset.displayName()}));
        }
    default: return ToUnits(asFloat());
    }
}

void Field::setAsCurrency(Currency value)
{
    setValue(QVariant::fromValue(value));
}

DateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (!v.isValid())
        return 0;
    switch (dataType()) {
    case FieldType::Date: return FromQDate(v.toDate());
    case FieldType::DateTime: return fromDateTime(v.toDateTime());
    case FieldType::Char:
    case FieldType::Memo: {
        const QDateTime parsed = codec::ParseDateText(v.toString());
        if (!parsed.isValid())
            throw EngineError(EngineMessage(text::NotDate, {v.toString(), fieldName(), m_dataset.displayName()}));
        return fromDateTime(parsed);
    }
    default: return asFloat();
    }
}

void Field::setAsDateTime(DateTime value)
{
    setValue(QVariant(double(value)));
}

QString Field::asString() const
{
    const QVariant v = value();
    if (!v.isValid())
        return QString();
    switch (dataType()) {
    case FieldType::SmallInt:
    case FieldType::Integer: return QString::number(v.toInt());
    case FieldType::Float: return PlainText(v.toDouble());
    case FieldType::Money: return PlainText(v.value<Currency>());
    case FieldType::Boolean: return PlainText(v.toBool());
    case FieldType::Date: return DateToText(FromQDate(v.toDate()));
    case FieldType::DateTime: {
        const QDateTime dateTime = v.toDateTime();
        const QString date = DateToText(FromQDate(dateTime.date()));
        if (dateTime.time() == QTime(0, 0))
            return date;
        return date + u' ' + dateTime.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case FieldType::Char:
    case FieldType::Memo: return v.toString();
    }
    return QString();
}

void Field::setAsString(const QString &text)
{
    setValue(QVariant(text));
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (!v.isValid())
        return false;
    switch (dataType()) {
    case FieldType::Char:
    case FieldType::Memo: return v.toString().trimmed().compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
    case FieldType::Money: return v.value<Currency>().units() != 0;
    default: return v.toDouble() != 0;
    }
}

void Field::setAsBoolean(bool value)
{
    setValue(QVariant(value));
}

QString Field::displayText() const
{
    const QVariant v = value();
    if (!v.isValid())
        return QString();
    switch (dataType()) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        return m_displayFormat.isEmpty() ? asString() : FormatNumber(m_displayFormat, qint64(v.toInt()));
    case FieldType::Float:
        return m_displayFormat.isEmpty() ? asString() : FormatNumber(m_displayFormat, v.toDouble());
    case FieldType::Money:
        return m_displayFormat.isEmpty() ? CurrencyText(v.value<Currency>())
                                         : FormatNumber(m_displayFormat, v.value<Currency>());
    case FieldType::Date:
    case FieldType::DateTime:
        return m_displayFormat.isEmpty() ? asString() : FormatDateTime(m_displayFormat, asDateTime());
    default: return asString();
    }
}

} // namespace qpn::engine
