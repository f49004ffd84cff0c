#pragma once

#include "engine/Schema.h"
#include "lib/Currency.h"
#include "lib/DateValue.h"

#include <QString>
#include <QVariant>

namespace qpn::engine {

class Dataset;

// One column of a dataset's current row. Values follow the null convention:
// a null number reads as 0, a null text as empty, a null date as day 0.
// QVariant values: Integer/SmallInt int, Float double, Money qpn::Currency,
// Date QDate, DateTime QDateTime, Boolean bool, Char/Memo QString, null invalid.
class Field
{
public:
    Field(Dataset &dataset, const ColumnDef &definition, int index);

    QString fieldName() const { return m_definition.name; }
    FieldType dataType() const { return m_definition.type; }
    int size() const { return m_definition.size; }
    int index() const { return m_index; }
    const ColumnDef &definition() const { return m_definition; }
    Dataset &dataset() const { return m_dataset; }

    bool isNull() const;
    void clear();

    QVariant value() const;
    void setValue(const QVariant &value);

    int asInteger() const;
    void setAsInteger(int value);
    double asFloat() const;
    void setAsFloat(double value);
    Currency asCurrency() const;
    void setAsCurrency(Currency value);
    DateTime asDateTime() const;
    void setAsDateTime(DateTime value);
    QString asString() const;   // the plain text of the value
    void setAsString(const QString &text); // converts text to the column's type
    bool asBoolean() const;
    void setAsBoolean(bool value);

    // Presentation, used by grids and reports.
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString &format) { m_displayFormat = format; }
    QString displayLabel() const { return m_displayLabel.isEmpty() ? fieldName() : m_displayLabel; }
    void setDisplayLabel(const QString &label) { m_displayLabel = label; }
    QString displayText() const; // the value through the display format
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

private:
    Dataset &m_dataset;
    ColumnDef m_definition;
    int m_index;
    QString m_displayFormat;
    QString m_displayLabel;
    bool m_readOnly = false;
    bool m_visible = true;
};

} // namespace qpn::engine

Q_DECLARE_METATYPE(qpn::Currency)
