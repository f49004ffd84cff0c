#include "engine/TableFile.h"

#include "engine/DbFailure.h"
#include "engine/DbHandle.h"
#include "engine/DbStatement.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/ValueCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>

namespace qpn::engine::tablefile {

namespace {

const QString DatSuffix = QStringLiteral(".DAT");

FieldType typeFromName(const QString &name, bool &ok)
{
    static const std::pair<const char *, FieldType> types[] = {
        {"SMALLINT", FieldType::SmallInt}, {"INTEGER", FieldType::Integer}, {"FLOAT", FieldType::Float},
        {"MONEY", FieldType::Money},       {"DATE", FieldType::Date},       {"TIMESTAMP", FieldType::DateTime},
        {"BOOLEAN", FieldType::Boolean},   {"CHAR", FieldType::Char},       {"MEMO", FieldType::Memo},
    };
    for (const auto &[text, type] : types) {
        if (name == QLatin1String(text)) {
            ok = true;
            return type;
        }
    }
    ok = false;
    return FieldType::Integer;
}

QString quotedList(const QStringList &names)
{
    QStringList quoted;
    for (const QString &n : names)
        quoted << QuoteId(n);
    return quoted.join(u',');
}

QString prefix(const QString &schemaName)
{
    return schemaName.isEmpty() ? QString() : QuoteId(schemaName) + u'.';
}

std::map<QString, TableSchema> &schemaCache()
{
    static std::map<QString, TableSchema> cache;
    return cache;
}

} // namespace

QString BaseName(const QString &tableName)
{
    QString name = tableName.trimmed();
    if (name.endsWith(DatSuffix, Qt::CaseInsensitive))
        name.chop(DatSuffix.size());
    return name;
}

QString DisplayName(const QString &tableName)
{
    return BaseName(tableName);
}

QString Locate(const QString &folder, const QString &tableName)
{
    const QString base = BaseName(tableName);
    if (base.isEmpty() || base.contains(u'/') || base.contains(u'\\'))
        return QString();
    const QString wanted = base + DatSuffix;
    const QFileInfo folderInfo(folder.isEmpty() ? QDir::currentPath() : folder);
    const QString canonical = folderInfo.canonicalFilePath();
    if (canonical.isEmpty())
        return QString();
    const QDir dir(canonical);
    const QString exact = dir.filePath(wanted);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return QString();
}

QString NewPath(const QString &folder, const QString &tableName)
{
    const QFileInfo folderInfo(folder.isEmpty() ? QDir::currentPath() : folder);
    const QString canonical = folderInfo.canonicalFilePath();
    const QDir dir(canonical.isEmpty() ? folderInfo.absoluteFilePath() : canonical);
    return dir.filePath(BaseName(tableName) + DatSuffix);
}

QString LockPath(const QString &dataPath)
{
    QString path = dataPath;
    if (path.endsWith(DatSuffix, Qt::CaseInsensitive))
        path.chop(DatSuffix.size());
    return path + QStringLiteral(".LCK");
}

QString PrimaryIndexSqlName()
{
    return QStringLiteral("qpn_primary");
}

QString SecondaryIndexSqlName(const QString &indexName)
{
    return QStringLiteral("qpn_index_") + indexName;
}

QString SchemaToJson(const TableSchema &schema)
{
    QJsonArray columns;
    for (const ColumnDef &c : schema.columns) {
        QJsonObject column{{"name", c.name}, {"type", FieldTypeName(c.type)}};
        if (c.type == FieldType::Char)
            column.insert("size", c.size);
        columns.append(column);
    }
    QJsonArray indexes;
    for (const IndexDef &i : schema.indexes)
        indexes.append(QJsonObject{{"name", i.name}, {"fields", QJsonArray::fromStringList(i.fields)}});
    const QJsonObject root{
        {"format", 1},
        {"name", schema.name},
        {"columns", columns},
        {"primaryKey", QJsonArray::fromStringList(schema.primaryKey)},
        {"compressKey", schema.compressKey},
        {"indexes", indexes},
        {"userMajorVersion", schema.userMajorVersion},
        {"language", schema.language},
        {"sort", schema.sort},
    };
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

TableSchema SchemaFromJson(const QString &json, const QString &displayName)
{
    const auto corrupt = [&] { return EngineError(EngineMessage(text::HeaderCorrupt, {displayName})); };
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw corrupt();
    const QJsonObject root = document.object();
    if (root.value("format").toInt() != 1)
        throw corrupt();
    TableSchema schema;
    schema.name = root.value("name").toString();
    for (const QJsonValue &value : root.value("columns").toArray()) {
        const QJsonObject column = value.toObject();
        bool ok = false;
        ColumnDef def;
        def.name = column.value("name").toString();
        def.type = typeFromName(column.value("type").toString(), ok);
        def.size = column.value("size").toInt();
        if (!ok || def.name.isEmpty())
            throw corrupt();
        schema.columns.append(def);
    }
    for (const QJsonValue &value : root.value("primaryKey").toArray())
        schema.primaryKey.append(value.toString());
    schema.compressKey = root.value("compressKey").toBool();
    for (const QJsonValue &value : root.value("indexes").toArray()) {
        const QJsonObject index = value.toObject();
        IndexDef def;
        def.name = index.value("name").toString();
        for (const QJsonValue &field : index.value("fields").toArray())
            def.fields.append(field.toString());
        schema.indexes.append(def);
    }
    schema.userMajorVersion = root.value("userMajorVersion").toInt();
    schema.language = root.value("language").toString();
    schema.sort = root.value("sort").toString();
    if (schema.name.isEmpty() || schema.columns.isEmpty())
        throw corrupt();
    return schema;
}

TableSchema ReadSchema(sqlite3 *db, const QString &schemaName, const QString &displayName)
{
    QString json;
    try {
        DbStatement read(db, QStringLiteral("SELECT value FROM %1QpnTableInfo WHERE key='schema'").arg(prefix(schemaName)));
        if (read.step())
            json = read.text(0);
    } catch (const DbFailure &) {
        throw EngineError(EngineMessage(text::HeaderCorrupt, {displayName}));
    }
    return SchemaFromJson(json, displayName);
}

void WriteSchema(sqlite3 *db, const QString &schemaName, const TableSchema &schema)
{
    DbStatement write(db, QStringLiteral("INSERT OR REPLACE INTO %1QpnTableInfo(key, value) VALUES('schema', ?)")
                              .arg(prefix(schemaName)));
    write.bind(1, SchemaToJson(schema));
    write.execute();
    ForgetSchemas();
}

void CreateTriggers(sqlite3 *db, const QString &schemaName, const TableSchema &schema)
{
    const QString p = prefix(schemaName);
    const QString table = QuoteId(schema.name);
    const auto run = [db](const QString &sql) { DbStatement(db, sql).execute(); };
    run(QStringLiteral("DROP TRIGGER IF EXISTS %1qpn_check_insert").arg(p));
    run(QStringLiteral("DROP TRIGGER IF EXISTS %1qpn_check_update").arg(p));
    // The spec text tells the checking function each column's name, type and size.
    QStringList spec{schema.name};
    QStringList values;
    for (const ColumnDef &c : schema.columns) {
        if (c.type != FieldType::SmallInt && c.type != FieldType::Integer && c.type != FieldType::Char
            && c.type != FieldType::Memo)
            continue;
        spec << c.name << FieldTypeName(c.type) << QString::number(c.size);
        values << QStringLiteral("NEW.") + QuoteId(c.name);
    }
    if (values.isEmpty() || values.size() > 120)
        return;
    QString specText = spec.join(QChar(0x1f));
    specText.replace(u'\'', QStringLiteral("''"));
    const QString call = QStringLiteral("SELECT qpn_check('%1', %2);").arg(specText, values.join(u','));
    // The WHEN clause skips the checks for rows a cursor has checked already.
    run(QStringLiteral("CREATE TRIGGER %1qpn_check_insert BEFORE INSERT ON %2 WHEN qpn_checking() BEGIN %3 END")
            .arg(p, table, call));
    run(QStringLiteral("CREATE TRIGGER %1qpn_check_update BEFORE UPDATE ON %2 WHEN qpn_checking() BEGIN %3 END")
            .arg(p, table, call));
}

void CreateObjects(sqlite3 *db, const QString &schemaName, const TableSchema &schema)
{
    const QString p = prefix(schemaName);
    const auto run = [db](const QString &sql) { DbStatement(db, sql).execute(); };
    QStringList columns;
    for (const ColumnDef &c : schema.columns)
        columns << QuoteId(c.name) + u' ' + codec::SqlType(c.type);
    run(QStringLiteral("CREATE TABLE %1QpnTableInfo(key TEXT PRIMARY KEY, value TEXT)").arg(p));
    run(QStringLiteral("CREATE TABLE %1%2(%3)").arg(p, QuoteId(schema.name), columns.join(u',')));
    if (!schema.primaryKey.isEmpty()) {
        run(QStringLiteral("CREATE UNIQUE INDEX %1%2 ON %3(%4)")
                .arg(p, QuoteId(PrimaryIndexSqlName()), QuoteId(schema.name), quotedList(schema.primaryKey)));
    }
    for (const IndexDef &index : schema.indexes) {
        run(QStringLiteral("CREATE INDEX %1%2 ON %3(%4)")
                .arg(p, QuoteId(SecondaryIndexSqlName(index.name)), QuoteId(schema.name), quotedList(index.fields)));
    }
    CreateTriggers(db, schemaName, schema);
    WriteSchema(db, schemaName, schema);
}

void CreateFile(const QString &path, const TableSchema &schema)
{
    DbHandle db(path, false, true);
    db.exec(QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL"));
    db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        CreateObjects(db.get(), QString(), schema);
        db.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            db.exec(QStringLiteral("ROLLBACK"));
        } catch (const DbFailure &) {
        }
        throw;
    }
    ForgetSchemas();
}

TableSchema FileSchema(const QString &path, const QString &displayName)
{
    auto &cache = schemaCache();
    const auto found = cache.find(path);
    if (found != cache.end())
        return found->second;
    TableSchema schema;
    try {
        DbHandle db(path, true, false);
        schema = ReadSchema(db.get(), QString(), displayName);
    } catch (const DbFailure &) {
        throw EngineError(EngineMessage(text::HeaderCorrupt, {displayName}));
    }
    cache[path] = schema;
    return schema;
}

namespace {
quint64 schemaGeneration = 1;
}

void ForgetSchemas()
{
    schemaCache().clear();
    ++schemaGeneration;
}

quint64 SchemaGeneration()
{
    return schemaGeneration;
}

} // namespace qpn::engine::tablefile
