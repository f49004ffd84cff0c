#include "engine/Schema.h"

namespace qpn::engine {

const ColumnDef *TableSchema::column(const QString &columnName) const
{
    for (const ColumnDef &c : columns) {
        if (c.name == columnName)
            return &c;
    }
    return nullptr;
}

QString FieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt: return QStringLiteral("SMALLINT");
    case FieldType::Integer: return QStringLiteral("INTEGER");
    case FieldType::Float: return QStringLiteral("FLOAT");
    case FieldType::Money: return QStringLiteral("MONEY");
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::DateTime: return QStringLiteral("TIMESTAMP");
    case FieldType::Boolean: return QStringLiteral("BOOLEAN");
    case FieldType::Char: return QStringLiteral("CHAR");
    case FieldType::Memo: return QStringLiteral("MEMO");
    }
    return QString();
}

} // namespace qpn::engine
