#pragma once

#include "lib/DateValue.h"

#include <QString>

#include <array>

namespace qpn {

// The statutory depreciation rates: row r holds the rates for the useful life
// r + 2, column c the c-th field of that life's line of the rate text.
class RateTable
{
public:
    static constexpr int RowCount = 101;
    static constexpr int ColumnCount = 11;

    // Columns of the rate text.
    enum Column {
        Life = 0,
        StraightLine = 1,        // 定額法, acquired from 1 April 2007
        Declining250 = 2,        // 定率法, acquired 1 April 2007 to 31 March 2012
        Declining250Revised = 3,
        Declining250Guarantee = 4,
        OldStraightLine = 5,     // 旧定額法, acquired before 1 April 2007
        OldDeclining = 6,        // 旧定率法
        Declining200 = 7,        // 24年定率, acquired from 1 April 2012
        Declining200Revised = 8,
        Declining200Guarantee = 9,
    };

    // Every value 0, as at process start.
    RateTable() = default;

    // Fills the table from rate text: the first line is a header, every later
    // line fills the row of its position; empty fields leave their cell alone.
    void load(const QString &text);

    // The stored value; 0 outside the table.
    double value(int row, int column) const;

    // The value for a useful life; lives above 100 read the life-100 row.
    // Callers pass lives of 2 or more; smaller ones read 0.
    double RateFor(int column, int life) const;

private:
    std::array<std::array<double, ColumnCount>, RowCount> m_rates{};
};

// The rate text the program carries.
QString RateTableText();

// The process-wide table, filled once at start-up by LoadRateTable and only
// read afterwards.
const RateTable &TheRateTable();
void LoadRateTable();
double RateFor(int column, int life);

// Which rules apply by acquisition date: 1 before 1 April 2007, 2 until
// 31 March 2012, 3 from 1 April 2012.
int RateGeneration(DateTime purchaseDate);

} // namespace qpn
