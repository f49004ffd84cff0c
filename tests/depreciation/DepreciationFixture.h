#pragma once

#include "depreciation/AssetCalculator.h"
#include "depreciation/AssetData.h"
#include "depreciation/CalcOptions.h"
#include "lib/Currency.h"
#include "lib/DateValue.h"
#include "lib/Dialogs.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

namespace qpn {

namespace test {

inline Currency Y(std::int64_t yen) { return Currency::fromYen(yen); }
inline DateTime D(int year, int month, int day) { return EncodeDate(year, month, day); }
inline QDate Q(int year, int month, int day) { return QDate(year, month, day); }

// Records every message and answers questions from a fixed choice.
class RecordingDialogs final : public Dialogs
{
public:
    DialogButton message(DialogKind kind, const QString &text, const QList<DialogButton> &buttons,
                         const QString &caption) override;
    bool prompt(const QString &, const QString &, QString &, bool) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override { return {}; }

    QStringList messages;
    DialogButton answer = DialogButton::Yes;
};

// An asset with a name, bought on a date for a price, with a useful life and
// a memorandum value of 1 yen.
AssetRecord MakeAsset(int id, int method, DateTime bought, std::int64_t priceYen, double life);

// A stored year row (as loaded from the table).
YearRow StoredRow(int id, int sub, int nendo);

// The book-value columns of a year row.
struct Book
{
    int nendo = 0;
    std::int64_t opening = 0;
    std::int64_t depreciation = 0;
    std::int64_t closing = 0;
    bool operator==(const Book &) const = default;
};
void PrintTo(const Book &book, std::ostream *os);
std::vector<Book> BookOf(const std::vector<YearRow> &rows);

// The subsidy columns of a year row.
struct SubsidyBook
{
    int nendo = 0;
    std::int64_t opening = 0;
    std::int64_t drawdown = 0;
    std::int64_t closing = 0;
    std::int64_t openingTotal = 0; // 国補期首取崩累計
    std::int64_t closingTotal = 0; // 国補期末取崩累計
    bool operator==(const SubsidyBook &) const = default;
};
void PrintTo(const SubsidyBook &book, std::ostream *os);
std::vector<SubsidyBook> SubsidyBookOf(const std::vector<YearRow> &rows);

std::int64_t YenOf(const std::optional<Currency> &value);

// A calculator with the statutory rates, options for a fiscal year from
// 1 April, and a dialog seam that records the messages.
class PassTest : public ::testing::Test
{
protected:
    PassTest();
    void SetUp() override;

    void setFiscalYear(int year);
    // Calc1A then Calc1B, as every caller runs them.
    AssetPassEnd run(AssetData &data, int mode = 0, Currency change = Y(-1), Currency subsidyChange = Y(-1));

    RecordingDialogs m_dialogs;
    ScopedDialogs m_scope;
    CalcOptions m_options;
    AssetCalculator m_calculator;
};

} // namespace test
} // namespace qpn
