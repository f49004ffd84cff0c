#include "export/CsvImport.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "export/CsvError.h"
#include "export/CsvFile.h"
#include "export/CsvText.h"

#include <QFileInfo>

#include <memory>

namespace qpn {

namespace {

QString lineError(int line, int column, const QString &fieldName, const QString &reason)
{
    return QStringLiteral("ＣＳＶファイルの%1行目、%2列目（%3）を取り込めません。\r\n%4")
        .arg(line)
        .arg(column)
        .arg(fieldName, reason);
}

QString reasonOf(const std::exception &error)
{
    if (const auto *engine = dynamic_cast<const engine::EngineError *>(&error))
        return engine->message();
    if (const auto *csv = dynamic_cast<const CsvError *>(&error))
        return csv->message();
    return QString::fromUtf8(error.what());
}

// The database handle whose transaction covers the table's writes; a table
// opened by folder path gets a private handle for the import.
engine::Database &databaseFor(engine::Table &table, std::unique_ptr<engine::Database> &own)
{
    if (engine::Database *found = engine::Database::find(table.databaseName()))
        return *found;
    engine::Session *session = engine::Session::find(table.sessionName());
    own = std::make_unique<engine::Database>(session ? *session : engine::Session::defaultSession(),
                                             QStringLiteral("__csv_import"),
                                             engine::Database::folderFor(table.databaseName()));
    return *own;
}

bool isNumeric(engine::FieldType type)
{
    using engine::FieldType;
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::Float
        || type == FieldType::Money;
}

} // namespace

CsvImportResult CsvImport::run(const QString &path, engine::Table &table, int keyMode,
                               const QStringList &fieldNames)
{
    CsvImportResult result;
    if (!QFileInfo::exists(path))
        return result;
    if (keyMode < 0 || keyMode > 3)
        throw CsvError(QStringLiteral("キーの指定 %1 は使えません。").arg(keyMode));
    const QList<CsvRecord> records = ParseImportText(CsvFile::read(path));

    // The table is opened before the transaction starts: the engine attaches
    // a table's file only outside one.
    if (!table.active())
        table.open();
    std::unique_ptr<engine::Database> own;
    engine::Database &database = databaseFor(table, own);
    engine::Transaction transaction(database);
    if (keyMode == 0)
        table.emptyTable();

    QList<engine::Field *> fields;
    if (fieldNames.isEmpty()) {
        for (int i = 0; i < table.fieldCount(); ++i)
            fields << &table.field(i);
    } else {
        for (const QString &name : fieldNames)
            fields << &table.fieldByName(name);
    }

    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord &record = records[r];
        if (record.items.isEmpty())
            continue; // a blank line holds no row
        if (record.items.size() > MaxItems)
            throw CsvError(QStringLiteral("ＣＳＶファイルの%1行目は項目が%2を超えています。")
                               .arg(record.line)
                               .arg(MaxItems));
        // Thousands separators go from numbers ("5,678" -> 5678); text keeps its commas.
        QStringList items = record.items;
        for (int k = 0; k < items.size() && k < fields.size(); ++k) {
            if (isNumeric(fields[k]->dataType()))
                items[k] = CleanImportItem(items[k]);
        }

        int column = 0;
        try {
            bool found = false;
            if (keyMode > 0) {
                QVariantList key;
                for (int k = 0; k < keyMode && k < items.size(); ++k)
                    key << items[k];
                found = !key.isEmpty() && table.findKey(key);
            }
            if (found) {
                table.edit();
                ++result.updated;
            } else {
                table.append();
                ++result.appended;
            }
            for (column = 0; column < items.size() && column < fields.size(); ++column)
                fields[column]->setAsString(items[column]);
            column = -1;
            if (found || !table.filtered())
                table.post();
            else
                table.cancel();
        } catch (const std::exception &error) {
            // A failed post (a duplicate key) is laid at the key's column.
            const int at = column >= 0 && column < fields.size() ? column : 0;
            const QString name = fields.isEmpty() ? QString() : fields[at]->fieldName();
            const QString message = lineError(record.line, at + 1, name, reasonOf(error));
            try {
                table.cancel();
            } catch (const std::exception &) {
            }
            throw CsvError(message);
        }
    }
    transaction.commit();
    table.close();
    return result;
}

} // namespace qpn
