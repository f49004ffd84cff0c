#pragma once

#include "lib/DateValue.h"

#include <QString>

namespace qpn {

// The process-wide settings, filled at start-up from the header row and
// refreshed by the settings form. Option values are radio-group item indexes.
struct AppOptionsData
{
    QString BaseFolder;          // holds the program file and HeadM
    QString DataFolder;          // BaseFolder + "/QPNdata/"
    QString ProductStamp = QStringLiteral("QPN2");
    QString CorporationName;     // HeadM.meisyou
    DateTime FiscalStart = 0;    // HeadM.KisyuDate
    DateTime FiscalEnd = 0;      // HeadM.KimatuDate
    int FiscalYear = 0;
    int FiscalMonth = 0;
    int FiscalDay = 0;
    int ResidualMethod = 0;      // PM1
    int StraightLineBasis = 0;   // PM2
    int SubsidyResidual = 0;     // PM3
    int RoundingMode = 0;        // PM4
    int DisposalMonthly = 0;     // PM8
    int EraDisplay = 0;          // PM6
    int TransitionYear = 0;      // HeadM.年度
    int ReportKind = 0;
    QString ReportTitle;

    // Sets FiscalStart and its year, month and day together.
    void setFiscalStart(DateTime start);
};

AppOptionsData &AppOptions();

} // namespace qpn
