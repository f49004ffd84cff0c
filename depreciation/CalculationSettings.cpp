#include "depreciation/CalculationSettings.h"

#include "depreciation/AssetStore.h"
#include "engine/Query.h"
#include "lib/AppOptions.h"
#include "lib/Dialogs.h"

namespace qpn {

DateTime FiscalEndFor(DateTime fiscalStart)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(fiscalStart, year, month, day);
    if (month == 2 && day == 29) {
        const QString message = QStringLiteral("会計期首に2月29日は指定できません。");
        ShowMessage(message);
        throw SettingsRefused(message);
    }
    return EncodeDate(year + 1, month, day) - 1;
}

void ApplyCalculationSettings(const CalculationSettings &settings, const QString &headerDatabase,
                              const QString &dataDatabase)
{
    const DateTime fiscalEnd = FiscalEndFor(settings.FiscalStart);

    AppOptionsData &options = AppOptions();
    options.setFiscalStart(settings.FiscalStart);
    options.FiscalEnd = fiscalEnd;
    options.ResidualMethod = settings.ResidualMethod;
    options.StraightLineBasis = settings.StraightLineBasis;
    options.SubsidyResidual = settings.SubsidyResidual;
    options.RoundingMode = settings.RoundingMode;
    options.DisposalMonthly = settings.DisposalMonthly;
    options.EraDisplay = settings.EraDisplay;
    options.TransitionYear = settings.TransitionYear;

    engine::Query header;
    header.setDatabaseName(headerDatabase);
    QString sql = QStringLiteral("update HeadM set KisyuDate = :K, KimatuDate = :E, PM1 = :PM1, PM2 = :PM2, "
                                 "PM3 = :PM3, PM4 = :PM4, PM6 = :PM6, PM8 = :PM8, \"年度\" = :Y");
    if (settings.PartialDisposal)
        sql += QStringLiteral(", PM7 = :PM7");
    header.setSql(sql);
    header.setParam(QStringLiteral("K"), ToQDate(settings.FiscalStart));
    header.setParam(QStringLiteral("E"), ToQDate(fiscalEnd));
    header.setParam(QStringLiteral("PM1"), settings.ResidualMethod);
    header.setParam(QStringLiteral("PM2"), settings.StraightLineBasis);
    header.setParam(QStringLiteral("PM3"), settings.SubsidyResidual);
    header.setParam(QStringLiteral("PM4"), settings.RoundingMode);
    header.setParam(QStringLiteral("PM6"), settings.EraDisplay);
    header.setParam(QStringLiteral("PM8"), settings.DisposalMonthly);
    header.setParam(QStringLiteral("Y"), settings.TransitionYear);
    if (settings.PartialDisposal)
        header.setParam(QStringLiteral("PM7"), *settings.PartialDisposal);
    header.execSql();
    if (header.rowsAffected() == 0) {
        // A header table without its row gets one, as opening the form gives it.
        header.setSql(QStringLiteral("insert into HeadM (KisyuDate, KimatuDate, PM1, PM2, PM3, PM4, PM6, PM8, \"年度\"%1) "
                                     "values (:K, :E, :PM1, :PM2, :PM3, :PM4, :PM6, :PM8, :Y%2)")
                          .arg(settings.PartialDisposal ? QStringLiteral(", PM7") : QString(),
                               settings.PartialDisposal ? QStringLiteral(", :PM7") : QString()));
        header.execSql();
    }

    AssetStore(dataDatabase).CalcF1(options.FiscalYear);
}

} // namespace qpn
