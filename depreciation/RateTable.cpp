#include "depreciation/RateTable.h"

#include <QStringList>

#include <algorithm>

namespace qpn {

namespace {

RateTable &ProcessRateTable()
{
    static RateTable table;
    return table;
}

} // namespace

void RateTable::load(const QString &text)
{
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 1; i < lines.size() && i <= RowCount; ++i) {
        const QStringList fields = lines.at(i).trimmed().split(u',');
        for (qsizetype j = 0; j < fields.size() && j < ColumnCount; ++j) {
            const QString field = fields.at(j).trimmed();
            if (!field.isEmpty())
                m_rates[static_cast<size_t>(i - 1)][static_cast<size_t>(j)] = field.toDouble();
        }
    }
}

double RateTable::value(int row, int column) const
{
    if (row < 0 || row >= RowCount || column < 0 || column >= ColumnCount)
        return 0;
    return m_rates[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

double RateTable::RateFor(int column, int life) const
{
    return value(std::min(life, 100) - 2, column);
}

const RateTable &TheRateTable()
{
    return ProcessRateTable();
}

void LoadRateTable()
{
    ProcessRateTable().load(RateTableText());
}

double RateFor(int column, int life)
{
    return ProcessRateTable().RateFor(column, life);
}

int RateGeneration(DateTime purchaseDate)
{
    if (purchaseDate < EncodeDate(2007, 4, 1))
        return 1;
    if (purchaseDate < EncodeDate(2012, 4, 1))
        return 2;
    return 3;
}

} // namespace qpn
