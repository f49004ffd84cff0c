#include "lib/EraCalendar.h"

#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

namespace qpn {

namespace {

constexpr double UnixEpochDay = 25569.0; // 1970-01-01 as a day number
constexpr double MillisPerDay = 86400000.0;

// ICU calendars are not thread-safe, and building one is slow, so each thread
// keeps its own.
struct IcuJapaneseCalendar
{
    std::unique_ptr<icu::Calendar> calendar;
    std::vector<QString> eraNames;

    IcuJapaneseCalendar()
    {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Locale locale("ja_JP@calendar=japanese");
        // The formatter brings the era names of the japanese calendar; plain
        // DateFormatSymbols of the locale would give the Gregorian ones.
        icu::SimpleDateFormat format(icu::UnicodeString(u"GGGG"), locale, status);
        if (U_FAILURE(status))
            throw std::runtime_error("ICU の和暦カレンダーを開けません。");
        std::int32_t count = 0;
        const icu::UnicodeString *names = format.getDateFormatSymbols()->getEraNames(count);
        eraNames.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i)
            eraNames.push_back(QString::fromUtf16(names[i].getBuffer(), names[i].length()));

        // Day numbers are taken as days of UTC so that no time zone moves a
        // date across midnight.
        calendar.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale,
                                                     status));
        if (U_FAILURE(status) || !calendar)
            throw std::runtime_error("ICU の和暦カレンダーを開けません。");
        // Our day numbers are proleptic Gregorian; keep ICU from switching to
        // the Julian calendar for early dates.
        if (auto *gregorian = dynamic_cast<icu::GregorianCalendar *>(calendar.get()))
            gregorian->setGregorianChange(-std::numeric_limits<double>::max(), status);
    }
};

IcuJapaneseCalendar &ThreadCalendar()
{
    thread_local IcuJapaneseCalendar instance;
    return instance;
}

} // namespace

EraCalendar::Era EraCalendar::eraOf(DateTime date)
{
    IcuJapaneseCalendar &icu = ThreadCalendar();
    UErrorCode status = U_ZERO_ERROR;
    const double day = std::trunc(date);
    icu.calendar->setTime((day - UnixEpochDay) * MillisPerDay, status);
    const std::int32_t era = icu.calendar->get(UCAL_ERA, status);
    const std::int32_t year = icu.calendar->get(UCAL_YEAR, status);
    if (U_FAILURE(status))
        throw std::invalid_argument("和暦に変換できない日付です。");
    Era result;
    if (era >= 0 && static_cast<std::size_t>(era) < icu.eraNames.size())
        result.name = icu.eraNames[static_cast<std::size_t>(era)];
    result.year = year;
    return result;
}

} // namespace qpn
