#pragma once

#include "lib/DateValue.h"

#include <QString>

#include <optional>
#include <stdexcept>

namespace qpn {

// The settings of the header row that closing the settings form applies:
// the fiscal start and the options as radio-group item indexes.
struct CalculationSettings
{
    DateTime FiscalStart = 0;
    int ResidualMethod = 0;        // PM1
    int StraightLineBasis = 1;     // PM2
    int SubsidyResidual = 0;       // PM3
    int RoundingMode = 1;          // PM4
    int EraDisplay = 0;            // PM6
    int DisposalMonthly = 0;       // PM8
    int TransitionYear = 0;        // 年度
    std::optional<int> PartialDisposal; // PM7, left alone when empty
};

// A fiscal start the settings cannot take; its message has been shown.
class SettingsRefused : public std::runtime_error
{
public:
    explicit SettingsRefused(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The last day of the fiscal year starting on a date: the same date a year
// later, minus one day. A start of 29 February has no such date and is
// refused with "会計期首に2月29日は指定できません。".
DateTime FiscalEndFor(DateTime fiscalStart);

// What closing the settings form does: derives the fiscal end, publishes the
// options to AppOptions, stores them in the header row (HeadM, in the header
// database) and fixes every year row before the new fiscal year (CalcF1 on the
// data database). Throws SettingsRefused, changing nothing, for 29 February.
void ApplyCalculationSettings(const CalculationSettings &settings, const QString &headerDatabase,
                              const QString &dataDatabase);

} // namespace qpn
