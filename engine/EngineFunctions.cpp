#include "engine/EngineFunctions.h"

#include "engine/EngineError.h"
#include "engine/Schema.h"
#include "engine/ValueCodec.h"

#include <QStringList>

#include <sqlite3.h>

#include <memory>
#include <unordered_map>
#include <vector>

namespace qpn::engine {

namespace {

struct CheckSpec
{
    QString table;
    std::vector<ColumnDef> columns;
};

std::unique_ptr<CheckSpec> parseSpec(const unsigned char *text)
{
    const QStringList parts = QString::fromUtf8(reinterpret_cast<const char *>(text)).split(QChar(0x1f));
    auto spec = std::make_unique<CheckSpec>();
    spec->table = parts.value(0);
    for (qsizetype i = 1; i + 2 < parts.size(); i += 3) {
        ColumnDef column;
        column.name = parts[i];
        const QString type = parts[i + 1];
        column.type = type == QLatin1String("SMALLINT") ? FieldType::SmallInt
                    : type == QLatin1String("INTEGER")  ? FieldType::Integer
                    : type == QLatin1String("CHAR")     ? FieldType::Char
                                                        : FieldType::Memo;
        column.size = parts[i + 2].toInt();
        spec->columns.push_back(column);
    }
    return spec;
}

void raise(sqlite3_context *context, const QString &message)
{
    const QByteArray bytes = (QString::fromUtf8(EngineTextMark) + message).toUtf8();
    sqlite3_result_error(context, bytes.constData(), int(bytes.size()));
}

// qpn_check(spec, value...): refuses a value a checked column cannot hold,
// with the same text a table cursor gives.
// qpn_checking(): 0 while the connection writes values a cursor has checked.
void checking(sqlite3_context *context, int, sqlite3_value **)
{
    const auto *trusted = static_cast<const bool *>(sqlite3_user_data(context));
    sqlite3_result_int(context, trusted && *trusted ? 0 : 1);
}

void check(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    // A trigger's program drops its functions' auxiliary data after each
    // row, so parsed texts are kept here, by text; a folder has few tables.
    static std::unordered_map<QByteArray, std::unique_ptr<CheckSpec>> specs;
    const QByteArray text(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])), sqlite3_value_bytes(argv[0]));
    std::unique_ptr<CheckSpec> &parsed = specs[text];
    if (!parsed)
        parsed = parseSpec(reinterpret_cast<const unsigned char *>(text.constData()));
    const CheckSpec *spec = parsed.get();
    try {
        for (int i = 1; i < argc && size_t(i - 1) < spec->columns.size(); ++i) {
            const ColumnDef &column = spec->columns[size_t(i - 1)];
            sqlite3_value *value = argv[i];
            const int type = sqlite3_value_type(value);
            if (type == SQLITE_NULL)
                continue;
            if (column.type == FieldType::Char || column.type == FieldType::Memo) {
                const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(value));
                codec::CheckText(column, QString::fromUtf8(bytes, sqlite3_value_bytes(value)), spec->table);
            } else if (type == SQLITE_INTEGER) {
                // Most values are integers in range: check those without a QVariant.
                const qint64 number = sqlite3_value_int64(value);
                const qint64 low = column.type == FieldType::SmallInt ? -32768 : -2147483648LL;
                const qint64 high = column.type == FieldType::SmallInt ? 32767 : 2147483647LL;
                if (number < low || number > high)
                    codec::Normalize(column, QVariant(number), spec->table);
            } else {
                const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(value));
                codec::Normalize(column, QVariant(QString::fromUtf8(bytes, sqlite3_value_bytes(value))), spec->table);
            }
        }
        sqlite3_result_null(context);
    } catch (const EngineError &error) {
        raise(context, error.message());
    }
}

} // namespace

void RegisterEngineFunctions(sqlite3 *db, const bool *trusted)
{
    sqlite3_create_function_v2(db, "qpn_check", -1, SQLITE_UTF8, nullptr, check, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "qpn_checking", 0, SQLITE_UTF8, const_cast<bool *>(trusted), checking, nullptr,
                               nullptr, nullptr);
}

} // namespace qpn::engine
