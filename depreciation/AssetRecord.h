#pragma once

#include "lib/Currency.h"
#include "lib/DateValue.h"

#include <QDate>
#include <QString>

#include <optional>

namespace qpn {

// The columns of one daicyoA row that the depreciation passes read or write.
// A null column is an empty optional; the passes read it by the null
// convention (0, the zero date, empty text) and may write a column back to null.
struct AssetRecord
{
    int ID = 0;
    std::optional<int> houhou_ID;
    std::optional<int> houhou2_ID;
    QString 品名;
    std::optional<QDate> 購入日;
    std::optional<QDate> 廃棄日;
    std::optional<Currency> 購入価格;
    std::optional<double> 償却年数;
    std::optional<double> 償却率;
    std::optional<double> 残率;
    std::optional<int> 償却月数;
    std::optional<int> yobi2_ID;
    std::optional<int> yobi3_ID;

    // Current-year summary.
    std::optional<Currency> 償却額;
    std::optional<Currency> 期首償却累計;
    std::optional<Currency> 期末償却累計;
    std::optional<Currency> 期首簿価;
    std::optional<Currency> 期末簿価;
    std::optional<Currency> kin1;

    // National subsidy.
    std::optional<Currency> 国補積立金;
    std::optional<Currency> 国補取崩額;
    std::optional<Currency> 国補期首取崩累計;
    std::optional<Currency> 国補期末取崩累計;
    std::optional<Currency> 国補期首簿価;
    std::optional<Currency> 国補期末簿価;
    std::optional<Currency> kin2;
    std::optional<Currency> 国補期首調整２３;
    std::optional<Currency> 国補期首調整後額;

    // Partial disposal.
    std::optional<QDate> 一部除却日;
    std::optional<Currency> 一部除却額;
    std::optional<Currency> 除却後購入価格;
    std::optional<Currency> 除却後購入価格国;
    std::optional<Currency> 一部除却額国Ａ;
    std::optional<Currency> 一部除却期首額;
    std::optional<Currency> 一部除却期首額国;
    std::optional<Currency> 一部除却期首累計額;
    std::optional<Currency> 一部除却期首累計額国;

    bool operator==(const AssetRecord &) const = default;
};

// The null convention for reading.
inline Currency Nz(const std::optional<Currency> &value) { return value.value_or(Currency()); }
inline int Nz(const std::optional<int> &value) { return value.value_or(0); }
inline double Nz(const std::optional<double> &value) { return value.value_or(0.0); }
// A null date reads as the zero date.
inline DateTime Nz(const std::optional<QDate> &value) { return value ? FromQDate(*value) : DateTime(0); }

} // namespace qpn
