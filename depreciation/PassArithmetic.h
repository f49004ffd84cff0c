#pragma once

#include "lib/Currency.h"

#include <cstdint>

namespace qpn::pass {

// Amounts enter products and quotients as extended-precision yen.
inline long double Yen(Currency amount) { return amount.toLongDouble(); }

inline Currency HalfUp(Currency amount) { return HalfUpYen(Yen(amount)); }

// The whole yen of an amount, truncated, as an integer.
inline std::int64_t WholeYen(Currency amount) { return amount.units() / Currency::UnitsPerYen; }

// The acquisition-year share: whole yen × months ÷ 12, to the nearest unit.
inline Currency MonthsShare(std::int64_t wholeYen, int months)
{
    return ToUnits(static_cast<long double>(wholeYen * months) / 12);
}

// An amount brought to whole yen by the rounding option: 0 half up, else truncated.
inline Currency ByRounding(Currency amount, int roundingMode)
{
    return roundingMode == 0 ? HalfUp(amount) : TruncYen(amount);
}

} // namespace qpn::pass
