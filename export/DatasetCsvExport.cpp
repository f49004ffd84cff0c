#include "export/DatasetCsvExport.h"

#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "export/CsvFile.h"
#include "export/CsvText.h"
#include "lib/DateFormat.h"
#include "lib/Dialogs.h"
#include "lib/DisplayFormat.h"

#include <QFileInfo>

#include <cmath>

namespace qpn {

namespace {

bool isBare(engine::FieldType type)
{
    using engine::FieldType;
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::Float
        || type == FieldType::Money;
}

QString dateText(DateTime value, bool withTime)
{
    if (withTime && value != std::floor(value))
        return FormatDateTime(ShortDatePattern() + QStringLiteral(" hh:nn:ss"), value);
    return DateToText(value);
}

} // namespace

QString DatasetCsvExport::item(const engine::Field &field)
{
    using engine::FieldType;
    const FieldType type = field.dataType();
    if (field.isNull())
        return isBare(type) ? QString() : QuoteItem(QString());
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer: return PlainText(field.asInteger());
    case FieldType::Float: return PlainText(field.asFloat());
    case FieldType::Money: return PlainText(field.asCurrency());
    case FieldType::Date: return QuoteItem(dateText(field.asDateTime(), false));
    case FieldType::DateTime: return QuoteItem(dateText(field.asDateTime(), true));
    case FieldType::Boolean: return QuoteItem(PlainText(field.asBoolean()));
    case FieldType::Char:
    case FieldType::Memo: break;
    }
    return QuoteItem(field.asString());
}

bool DatasetCsvExport::writeTable(engine::Table &table, const QString &path, const QList<CsvFieldSpec> &fields)
{
    if (QFileInfo::exists(path)
        && MessageDlg(QStringLiteral("同名のファイルがあります。上書をしてもよいですか？"), DialogKind::Warning,
                      {DialogButton::Yes, DialogButton::No, DialogButton::Cancel})
               != DialogButton::Yes)
        return false;
    write(table, path, fields);
    return true;
}

void DatasetCsvExport::writeQuery(engine::Query &query, const QString &path, const QList<CsvFieldSpec> &fields)
{
    write(query, path, fields);
}

int DatasetCsvExport::write(engine::Dataset &dataset, const QString &path, const QList<CsvFieldSpec> &fields)
{
    if (!dataset.active())
        dataset.open();
    QList<const engine::Field *> columns;
    QStringList labels;
    if (fields.isEmpty()) {
        for (int i = 0; i < dataset.fieldCount(); ++i)
            columns << &dataset.field(i);
    } else {
        for (const auto &spec : fields)
            columns << &dataset.fieldByName(spec.name);
    }
    for (int i = 0; i < columns.size(); ++i) {
        const QString label = fields.isEmpty() || fields[i].label.isEmpty() ? columns[i]->displayLabel()
                                                                             : fields[i].label;
        CsvFile::checkEncodable(label, 1, label);
        labels << QuoteItem(label);
    }
    QStringList lines{labels.join(QLatin1Char(','))};
    for (; !dataset.eof(); dataset.next()) {
        QStringList items;
        for (const engine::Field *field : columns) {
            const QString text = item(*field);
            CsvFile::checkEncodable(text, static_cast<int>(lines.size()) + 1, field->displayLabel());
            items << text;
        }
        lines << items.join(QLatin1Char(','));
    }
    CsvFile::write(path, lines);
    dataset.close();
    return static_cast<int>(lines.size()) - 1;
}

} // namespace qpn
