#include "mail/mime_dates.h"

#include <atomic>
#include <cmath>

namespace {

// Fixed English names: mail dates never follow the user's locale.
constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

DWORD SystemTimeZoneQuery(TIME_ZONE_INFORMATION* info) {
    return GetTimeZoneInformation(info);
}

std::atomic<TTimeZoneQuery> timeZoneQuery{&SystemTimeZoneQuery};

std::string TwoDigits(int value) {
    std::string text(2, '0');
    text[0] = static_cast<char>('0' + value / 10 % 10);
    text[1] = static_cast<char>('0' + value % 10);
    return text;
}

}  // namespace

TTimeZoneQuery SetTimeZoneQuery(TTimeZoneQuery Query) {
    return timeZoneQuery.exchange(Query ? Query : &SystemTimeZoneQuery);
}

double GetTimeZoneBias() {
    TIME_ZONE_INFORMATION info{};
    const DWORD state = timeZoneQuery.load()(&info);
    long bias = info.Bias;
    if (state == TIME_ZONE_ID_STANDARD)
        bias += info.StandardBias;
    else if (state == TIME_ZONE_ID_DAYLIGHT)
        bias += info.DaylightBias;
    return -static_cast<double>(bias) / MinsPerDay;
}

std::string DateToRFC822(TDateTime DateTime) {
    unsigned short year, month, day, hour, minute, second, msec;
    DecodeDateTime(DateTime, year, month, day, hour, minute, second, msec);
    // Digits and ":" are written here, not through the locale's time
    // separator: the header's syntax is fixed.
    std::string text = kDayNames[DayOfWeek(EncodeDate(year, month, day)) - 1];
    text += ", ";
    text += TwoDigits(day);
    text += ' ';
    text += kMonthNames[month - 1];
    text += ' ';
    text += TwoDigits(year / 100) + TwoDigits(year % 100);
    text += ' ';
    text += TwoDigits(hour) + ':' + TwoDigits(minute) + ':' + TwoDigits(second);
    text += ' ';
    const double bias = GetTimeZoneBias();
    if (bias == 0) {
        text += "GMT";
    } else {
        const long minutes = std::lround(std::fabs(bias) * MinsPerDay);
        text += bias > 0 ? '+' : '-';
        text += TwoDigits(static_cast<int>(minutes / 60 % 24));
        text += TwoDigits(static_cast<int>(minutes % 60));
    }
    return text;
}
