#include "tests/depreciation/DepreciationFixture.h"

#include "depreciation/RateTable.h"

namespace qpn {

namespace test {

DialogButton RecordingDialogs::message(DialogKind, const QString &text, const QList<DialogButton> &buttons,
                                       const QString &)
{
    messages << text;
    if (buttons.contains(answer))
        return answer;
    return buttons.isEmpty() ? DialogButton::Ok : buttons.first();
}

AssetRecord MakeAsset(int id, int method, DateTime bought, std::int64_t priceYen, double life)
{
    AssetRecord asset;
    asset.ID = id;
    asset.houhou_ID = method;
    asset.houhou2_ID = 0;
    asset.品名 = QStringLiteral("資産%1").arg(id);
    asset.購入日 = ToQDate(bought);
    asset.購入価格 = Y(priceYen);
    asset.償却年数 = life;
    asset.残率 = 0;
    asset.yobi3_ID = 1;
    return asset;
}

YearRow StoredRow(int id, int sub, int nendo)
{
    YearRow row;
    row.ID = id;
    row.Sub = sub;
    row.storedSub = sub;
    row.Nendo = nendo;
    return row;
}

std::int64_t YenOf(const std::optional<Currency> &value)
{
    return Nz(value).units() / Currency::UnitsPerYen;
}

void PrintTo(const Book &book, std::ostream *os)
{
    *os << "{" << book.nendo << ": " << book.opening << " -" << book.depreciation << " = " << book.closing << "}";
}

std::vector<Book> BookOf(const std::vector<YearRow> &rows)
{
    std::vector<Book> books;
    for (const YearRow &row : rows)
        books.push_back({Nz(row.Nendo), YenOf(row.期首残高), YenOf(row.当年償却額), YenOf(row.期末残高)});
    return books;
}

void PrintTo(const SubsidyBook &book, std::ostream *os)
{
    *os << "{" << book.nendo << ": " << book.opening << " -" << book.drawdown << " = " << book.closing
        << ", drawn " << book.openingTotal << " -> " << book.closingTotal << "}";
}

std::vector<SubsidyBook> SubsidyBookOf(const std::vector<YearRow> &rows)
{
    std::vector<SubsidyBook> books;
    for (const YearRow &row : rows)
        books.push_back({Nz(row.Nendo), YenOf(row.国補期首残高), YenOf(row.国補当年取崩額), YenOf(row.国補期末残高),
                         YenOf(row.国補期首取崩累計), YenOf(row.国補期末取崩累計)});
    return books;
}

PassTest::PassTest() : m_scope(m_dialogs) {}

void PassTest::SetUp()
{
    LoadRateTable();
    setFiscalYear(2020);
}

void PassTest::setFiscalYear(int year)
{
    const CalcOptions fresh = CalcOptions::forFiscalStart(D(year, 4, 1));
    m_options.FiscalStart = fresh.FiscalStart;
    m_options.FiscalEnd = fresh.FiscalEnd;
    m_options.FiscalYear = fresh.FiscalYear;
    m_options.FiscalMonth = fresh.FiscalMonth;
}

AssetPassEnd PassTest::run(AssetData &data, int mode, Currency change, Currency subsidyChange)
{
    m_calculator.setOptions(m_options);
    const AssetPassEnd end = m_calculator.Calc1A(data, mode, change, subsidyChange);
    m_calculator.Calc1B(data, mode, change, subsidyChange);
    return end;
}

} // namespace test
} // namespace qpn
