#include "register/HeaderSettings.h"

#include "depreciation/CalculationSettings.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "lib/DateFormat.h"
#include "lib/Dialogs.h"

#include <cmath>
#include <stdexcept>

namespace qpn
{

namespace
{

const QString KisyuDate = QStringLiteral("KisyuDate");
const QString TransitionYearColumn = QStringLiteral("年度");

QString FiscalStartMissingMessage()
{
    return QStringLiteral("会計期首を入力してください。");
}

} // namespace

HeaderSettings::HeaderSettings(const QString &baseDatabase, const QString &dataDatabase,
                               const QString &session)
    : m_baseDatabase(baseDatabase), m_dataDatabase(dataDatabase),
      m_head(std::make_unique<engine::Table>())
{
    m_head->setDatabaseName(baseDatabase);
    if (!session.isEmpty())
        m_head->setSessionName(session);
    m_head->setTableName(QStringLiteral("HeadM"));
}

HeaderSettings::~HeaderSettings()
{
    // Never throw from here: a row left open is dropped with its edits.
    try {
        cancel();
    } catch (...) {
    }
}

const QList<HeaderOption> &HeaderSettings::Options()
{
    static const QList<HeaderOption> options{
        {QStringLiteral("PM1"),
         QStringLiteral("RadioGroup1"),
         QStringLiteral("residual-method"),
         QStringLiteral("残価１円まで償却する方法"),
         {QStringLiteral("[ｱ] 税法に基づく計算"), QStringLiteral("[ｲ] 今までの償却額で単純償却"),
          QStringLiteral("[ｳ] 10%残存のままにする")},
         0},
        {QStringLiteral("PM2"),
         QStringLiteral("RadioGroup2"),
         QStringLiteral("straight-line-basis"),
         QStringLiteral("償却計算の選択（定額法のみ）"),
         {QStringLiteral("[A] 耐用年数による計算"),
          QStringLiteral("[B] 耐用年数省令別表による計算")},
         1},
        {QStringLiteral("PM3"),
         QStringLiteral("RadioGroup3"),
         QStringLiteral("subsidy-residual"),
         QStringLiteral("国庫補助金の残価率"),
         {QStringLiteral("０円まで取崩"), QStringLiteral("10%を残す"),
          QStringLiteral("新会計基準対応の取崩")},
         0},
        {QStringLiteral("PM4"),
         QStringLiteral("RadioGroup4"),
         QStringLiteral("rounding"),
         QStringLiteral("端数処理(定額法のみ)"),
         {QStringLiteral("円未満四捨五入"), QStringLiteral("円未満切り捨て")},
         1},
        {QStringLiteral("PM8"),
         QStringLiteral("RadioGroup5"),
         QStringLiteral("disposal-monthly"),
         QStringLiteral("廃棄年度の月割償却"),
         {QStringLiteral("しない"), QStringLiteral("する")},
         std::nullopt},
        {QStringLiteral("PM6"),
         QStringLiteral("RadioGroup6"),
         QStringLiteral("era"),
         QString(),
         {QStringLiteral("西暦表示"), QStringLiteral("和暦表示")},
         0},
        {QStringLiteral("PM7"),
         QString(),
         QStringLiteral("partial-disposal"),
         QStringLiteral("一部除却"),
         {QStringLiteral("しない"), QStringLiteral("する")},
         std::nullopt},
    };
    return options;
}

const HeaderOption *HeaderSettings::findOption(const QString &column)
{
    for (const HeaderOption &option : Options()) {
        if (option.column == column)
            return &option;
    }
    return nullptr;
}

DateTime HeaderSettings::ProposedFiscalStart(DateTime today)
{
    int year = 0;
    int month = 0;
    int day = 0;
    DecodeDate(today, year, month, day);
    return EncodeDate(month < 4 ? year - 1 : year, 4, 1);
}

DateTime HeaderSettings::FiscalEndOf(DateTime fiscalStart)
{
    return FiscalEndFor(fiscalStart);
}

void HeaderSettings::LoadAppOptions(const QString &baseDatabase)
{
    engine::Table table;
    table.setDatabaseName(baseDatabase);
    table.setTableName(QStringLiteral("HeadM"));
    table.open();
    table.first();
    AppOptionsData &options = AppOptions();
    if (!table.isEmpty()) {
        const auto number = [&table](const QString &column) {
            return table.fieldByName(column).asInteger();
        };
        options.CorporationName = table.fieldByName(QStringLiteral("meisyou")).asString();
        options.setFiscalStart(table.fieldByName(KisyuDate).asDateTime());
        options.FiscalEnd = table.fieldByName(QStringLiteral("KimatuDate")).asDateTime();
        options.ResidualMethod = number(QStringLiteral("PM1"));
        options.StraightLineBasis = number(QStringLiteral("PM2"));
        options.SubsidyResidual = number(QStringLiteral("PM3"));
        options.RoundingMode = number(QStringLiteral("PM4"));
        options.EraDisplay = number(QStringLiteral("PM6"));
        options.DisposalMonthly = number(QStringLiteral("PM8"));
        options.TransitionYear = number(TransitionYearColumn);
    }
    table.close();
}

engine::Table &HeaderSettings::head() const
{
    if (!m_head->active())
        throw std::logic_error("the header row is not open");
    return *m_head;
}

void HeaderSettings::open()
{
    engine::Table &table = *m_head;
    table.open();
    table.first();
    if (table.isEmpty())
        table.append();
    else
        table.edit();
    for (const HeaderOption &option : Options()) {
        engine::Field &field = table.fieldByName(option.column);
        if (option.openingValue && field.isNull())
            field.setAsInteger(*option.openingValue);
    }
    table.post();
    table.edit();

    engine::Field &start = table.fieldByName(KisyuDate);
    if (start.isNull())
        start.setAsDateTime(ProposedFiscalStart(Today()));
}

bool HeaderSettings::isOpen() const
{
    return m_head->active();
}

QVariant HeaderSettings::value(const QString &column) const
{
    return head().fieldByName(column).value();
}

QString HeaderSettings::text(const QString &column) const
{
    const engine::Field &field = head().fieldByName(column);
    if (field.isNull())
        return QString();
    if (field.dataType() == engine::FieldType::Date ||
        field.dataType() == engine::FieldType::DateTime)
        return FormatDateTime(QStringLiteral("yyyy/mm/dd"), field.asDateTime());
    return field.asString();
}

int HeaderSettings::option(const QString &column) const
{
    return head().fieldByName(column).asInteger();
}

void HeaderSettings::setText(const QString &column, const QString &text)
{
    head().fieldByName(column).setAsString(text);
}

void HeaderSettings::setOption(const QString &column, int value)
{
    head().fieldByName(column).setAsInteger(value);
}

void HeaderSettings::close()
{
    engine::Table &table = head();
    const engine::Field &start = table.fieldByName(KisyuDate);
    // A missing start would publish fiscal year 1899 and run every later
    // calculation against it.
    if (start.isNull()) {
        ShowMessage(FiscalStartMissingMessage());
        throw SettingsRefused(FiscalStartMissingMessage());
    }
    CalculationSettings settings;
    settings.FiscalStart = std::floor(start.asDateTime());
    FiscalEndFor(settings.FiscalStart); // refuses before anything is written
    settings.ResidualMethod = option(QStringLiteral("PM1"));
    settings.StraightLineBasis = option(QStringLiteral("PM2"));
    settings.SubsidyResidual = option(QStringLiteral("PM3"));
    settings.RoundingMode = option(QStringLiteral("PM4"));
    settings.EraDisplay = option(QStringLiteral("PM6"));
    settings.DisposalMonthly = option(QStringLiteral("PM8"));
    settings.TransitionYear = option(TransitionYearColumn);
    if (!table.fieldByName(QStringLiteral("PM7")).isNull())
        settings.PartialDisposal = option(QStringLiteral("PM7"));

    // The row's own columns first; the fiscal end, the options and the
    // fixing of past years then go the way every caller applies them.
    table.post();
    table.close();
    ApplyCalculationSettings(settings, m_baseDatabase, m_dataDatabase);
}

void HeaderSettings::cancel()
{
    if (!m_head->active())
        return;
    m_head->cancel();
    m_head->close();
}

} // namespace qpn
