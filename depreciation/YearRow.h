#pragma once

#include "lib/Currency.h"

#include <optional>

namespace qpn {

// One daicyoB row: an asset's fiscal year. Every column but the key may be
// null; the passes read a null by the null convention and write some back.
struct YearRow
{
    int ID = 0;
    int Sub = 0;
    // The Sub under which the row is stored; none for a row not stored yet.
    // Lets the store find a row whose Sub a pass renumbered.
    std::optional<int> storedSub;

    std::optional<int> Nendo;
    std::optional<Currency> 期首残高;
    std::optional<Currency> 期末残高;
    std::optional<Currency> 当年償却額;
    std::optional<Currency> 期首償却累計;
    std::optional<Currency> 期末償却累計;
    std::optional<Currency> 国補期首残高;
    std::optional<Currency> 国補期末残高;
    std::optional<Currency> 国補当年取崩額;
    std::optional<Currency> 国補期首取崩累計;
    std::optional<Currency> 国補期末取崩累計;
    std::optional<Currency> 変更償却額; // entered by the user
    std::optional<Currency> kin1;
    std::optional<Currency> kin2;
    std::optional<Currency> kin3;       // entered subsidy drawdown
    std::optional<int> F1;              // 1 = fixed
    std::optional<Currency> 一部除却額;
    std::optional<Currency> 除却後購入価格B;
    std::optional<Currency> 一部除却額国;
    std::optional<Currency> 除却後購入価格B国;
    std::optional<Currency> 国補期首調整２３;

    bool operator==(const YearRow &) const = default;
};

} // namespace qpn
