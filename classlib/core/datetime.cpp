#include "classlib/core/datetime.h"

#include <cmath>
#include <mutex>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

// Days from 0001-01-01 to 1899-12-30, the day TDateTime counts from.
constexpr std::int64_t DateDelta = 693594;

const int MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                              {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

std::mutex clockLock;
TClock installedClock;

TDateTime SystemNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return SystemTimeToDateTime(now);
}

// A date and time split into whole days since 1899-12-30 and milliseconds of
// that day. Negative values keep their time of day positive, as the class
// library reads them: -1.25 is 1899-12-29 06:00.
struct TTimeStamp {
    std::int64_t Days;
    std::int64_t MSecs;
};

TTimeStamp ToTimeStamp(TDateTime value) {
    double whole = std::trunc(value);
    TTimeStamp stamp{static_cast<std::int64_t>(whole), std::llround(std::fabs(value - whole) * MSecsPerDay)};
    if (stamp.MSecs >= MSecsPerDay) {
        ++stamp.Days;
        stamp.MSecs -= MSecsPerDay;
    }
    return stamp;
}

void DaysToDate(std::int64_t days, unsigned short& year, unsigned short& month, unsigned short& day) {
    // Count in days since 0001-01-01 through 400-, 100-, 4- and 1-year cycles.
    std::int64_t d = days + DateDelta - 1;
    if (d < 0) {
        year = month = day = 0;
        return;
    }
    std::int64_t y = 1;
    y += 400 * (d / 146097);
    d %= 146097;
    std::int64_t centuries = std::min<std::int64_t>(d / 36524, 3);
    y += 100 * centuries;
    d -= centuries * 36524;
    y += 4 * (d / 1461);
    d %= 1461;
    std::int64_t years = std::min<std::int64_t>(d / 365, 3);
    y += years;
    d -= years * 365;
    const int* lengths = MonthDays[IsLeapYear(static_cast<int>(y)) ? 1 : 0];
    int m = 0;
    while (d >= lengths[m]) d -= lengths[m++];
    year = static_cast<unsigned short>(y);
    month = static_cast<unsigned short>(m + 1);
    day = static_cast<unsigned short>(d + 1);
}

}  // namespace

// ---- Clock -------------------------------------------------------------------

TDateTime Now() {
    TClock current;
    {
        std::lock_guard<std::mutex> guard(clockLock);
        current = installedClock;
    }
    return current ? current() : SystemNow();
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    TDateTime now = Now();
    return now - std::trunc(now);
}

TClock SetClock(TClock newClock) {
    std::lock_guard<std::mutex> guard(clockLock);
    std::swap(installedClock, newClock);
    return newClock;
}

// ---- Encoding and decoding ---------------------------------------------------

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    std::int64_t days = day;
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    std::int64_t y = year - 1;
    days += y * 365 + y / 4 - y / 100 + y / 400;
    date = static_cast<double>(days - DateDelta);
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
    if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
        return false;
    time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date)) throw EConvertError("Invalid argument to date encode");
    return date;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime time;
    if (!TryEncodeTime(hour, min, sec, msec, time)) throw EConvertError("Invalid argument to time encode");
    return time;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
    TDateTime date = EncodeDate(year, month, day);
    TDateTime time = EncodeTime(hour, min, sec, msec);
    // Before 1899-12-30 the time of day still counts forward from midnight.
    return date < 0 ? date - time : date + time;
}

void DecodeDate(TDateTime date, unsigned short& year, unsigned short& month, unsigned short& day) {
    DaysToDate(ToTimeStamp(date).Days, year, month, day);
}

void DecodeTime(TDateTime time, unsigned short& hour, unsigned short& min, unsigned short& sec,
                unsigned short& msec) {
    std::int64_t ms = ToTimeStamp(time).MSecs;
    hour = static_cast<unsigned short>(ms / 3600000);
    min = static_cast<unsigned short>(ms / 60000 % 60);
    sec = static_cast<unsigned short>(ms / 1000 % 60);
    msec = static_cast<unsigned short>(ms % 1000);
}

void DecodeDateTime(TDateTime value, unsigned short& year, unsigned short& month, unsigned short& day,
                    unsigned short& hour, unsigned short& min, unsigned short& sec, unsigned short& msec) {
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, min, sec, msec);
}

int DayOfWeek(TDateTime date) {
    // 1899-12-30 was a Saturday.
    std::int64_t days = ToTimeStamp(date).Days;
    return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
}

namespace {
TDateTime AddMSecs(TDateTime value, std::int64_t msecs) {
    // On a plain count of milliseconds, so that crossing 1899-12-30 keeps
    // the time of day right.
    TTimeStamp stamp = ToTimeStamp(value);
    std::int64_t total = stamp.Days * MSecsPerDay + stamp.MSecs + msecs;
    std::int64_t days = total >= 0 ? total / MSecsPerDay : -((-total + MSecsPerDay - 1) / MSecsPerDay);
    double fraction = static_cast<double>(total - days * MSecsPerDay) / MSecsPerDay;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}
}  // namespace

TDateTime IncMilliSecond(TDateTime value, std::int64_t count) {
    return AddMSecs(value, count);
}
TDateTime IncSecond(TDateTime value, std::int64_t count) {
    return AddMSecs(value, count * 1000);
}
TDateTime IncMinute(TDateTime value, std::int64_t count) {
    return AddMSecs(value, count * 60000);
}
TDateTime IncHour(TDateTime value, std::int64_t count) {
    return AddMSecs(value, count * 3600000);
}
TDateTime IncDay(TDateTime value, int count) {
    return value + count;
}

void DateTimeToSystemTime(TDateTime value, SYSTEMTIME& systemTime) {
    unsigned short year, month, day, hour, min, sec, msec;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
    systemTime.wYear = year;
    systemTime.wMonth = month;
    systemTime.wDay = day;
    systemTime.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
    systemTime.wHour = hour;
    systemTime.wMinute = min;
    systemTime.wSecond = sec;
    systemTime.wMilliseconds = msec;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& systemTime) {
    return EncodeDateTime(systemTime.wYear, systemTime.wMonth, systemTime.wDay, systemTime.wHour,
                          systemTime.wMinute, systemTime.wSecond, systemTime.wMilliseconds);
}

// ---- Texts -------------------------------------------------------------------

namespace {

std::string TwoDigits(int value) {
    return Format("%.2d", value);
}

bool StartsWithText(std::string_view text, std::size_t at, std::string_view word) {
    return text.size() - at >= word.size() && SameText(text.substr(at, word.size()), word);
}

// Whether the pattern (outside quotes) asks for a 12-hour clock.
bool HasAmPm(std::string_view pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '"' || c == '\'') {
            std::size_t end = pattern.find(c, i + 1);
            if (end == std::string_view::npos) return false;
            i = end;
        } else if (StartsWithText(pattern, i, "am/pm") || StartsWithText(pattern, i, "a/p") ||
                   StartsWithText(pattern, i, "ampm")) {
            return true;
        }
    }
    return false;
}

class TDateFormatter {
public:
    explicit TDateFormatter(TDateTime value) : value_(value), settings_(FormatSettings()) {
        DecodeDateTime(value, year_, month_, day_, hour_, min_, sec_, msec_);
    }

    void Append(std::string_view pattern, std::string& out, int depth = 0) {
        // The locale's formats are patterns themselves; a format that names
        // itself must not recurse forever.
        if (depth > 2) return;
        const bool twelveHour = HasAmPm(pattern);
        bool afterHour = false;
        std::size_t i = 0;
        while (i < pattern.size()) {
            char c = pattern[i];
            char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            std::size_t run = 1;
            if (lower >= 'a' && lower <= 'z')
                while (i + run < pattern.size() && (pattern[i + run] | 0x20) == lower) ++run;
            switch (lower) {
                case '"':
                case '\'': {
                    std::size_t end = pattern.find(c, i + 1);
                    if (end == std::string_view::npos) end = pattern.size();
                    out.append(pattern.substr(i + 1, end - i - 1));
                    i = std::min(end + 1, pattern.size());
                    continue;
                }
                case '/':
                    out += settings_.DateSeparator;
                    break;
                case ':':
                    out += settings_.TimeSeparator;
                    break;
                case 'c':
                    Append(settings_.ShortDateFormat, out, depth + 1);
                    if (hour_ || min_ || sec_ || msec_) {
                        out += ' ';
                        Append(settings_.LongTimeFormat, out, depth + 1);
                    }
                    afterHour = false;
                    break;
                case 'd':
                    switch (run) {
                        case 1:
                            out += std::to_string(day_);
                            break;
                        case 2:
                            out += TwoDigits(day_);
                            break;
                        case 3:
                            out += settings_.ShortDayNames[DayOfWeek(value_) - 1];
                            break;
                        case 4:
                            out += settings_.LongDayNames[DayOfWeek(value_) - 1];
                            break;
                        case 5:
                            Append(settings_.ShortDateFormat, out, depth + 1);
                            break;
                        default:
                            Append(settings_.LongDateFormat, out, depth + 1);
                            break;
                    }
                    afterHour = false;
                    break;
                case 'm':
                    if (afterHour && run <= 2) {
                        out += run == 1 ? std::to_string(min_) : TwoDigits(min_);
                    } else if (month_ >= 1) {
                        switch (run) {
                            case 1:
                                out += std::to_string(month_);
                                break;
                            case 2:
                                out += TwoDigits(month_);
                                break;
                            case 3:
                                out += settings_.ShortMonthNames[month_ - 1];
                                break;
                            default:
                                out += settings_.LongMonthNames[month_ - 1];
                                break;
                        }
                    }
                    afterHour = false;
                    break;
                case 'y':
                    out += run <= 2 ? TwoDigits(year_ % 100) : Format("%.4d", year_);
                    afterHour = false;
                    break;
                case 'h': {
                    int hour = hour_;
                    if (twelveHour) {
                        hour %= 12;
                        if (hour == 0) hour = 12;
                    }
                    out += run == 1 ? std::to_string(hour) : TwoDigits(hour);
                    afterHour = true;
                    break;
                }
                case 'n':
                    out += run == 1 ? std::to_string(min_) : TwoDigits(min_);
                    afterHour = false;
                    break;
                case 's':
                    out += run == 1 ? std::to_string(sec_) : TwoDigits(sec_);
                    afterHour = false;
                    break;
                case 'z':
                    out += run == 1 ? std::to_string(msec_) : Format("%.3d", msec_);
                    afterHour = false;
                    break;
                case 't':
                    Append(run == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, out, depth + 1);
                    afterHour = false;
                    break;
                case 'a':
                    if (StartsWithText(pattern, i, "am/pm")) {
                        AppendMarker(pattern.substr(i, 2), pattern.substr(i + 3, 2), out);
                        i += 5;
                        continue;
                    }
                    if (StartsWithText(pattern, i, "a/p")) {
                        AppendMarker(pattern.substr(i, 1), pattern.substr(i + 2, 1), out);
                        i += 3;
                        continue;
                    }
                    if (StartsWithText(pattern, i, "ampm")) {
                        out += hour_ < 12 ? settings_.TimeAMString : settings_.TimePMString;
                        i += 4;
                        continue;
                    }
                    out.append(pattern.substr(i, run));
                    break;
                default:
                    out.append(pattern.substr(i, run));
                    break;
            }
            i += run;
        }
    }

private:
    void AppendMarker(std::string_view am, std::string_view pm, std::string& out) const {
        out.append(hour_ < 12 ? am : pm);
    }

    TDateTime value_;
    const TFormatSettings& settings_;
    unsigned short year_, month_, day_, hour_, min_, sec_, msec_;
};

}  // namespace

std::string FormatDateTime(std::string_view pattern, TDateTime value) {
    std::string out;
    TDateFormatter(value).Append(pattern.empty() ? std::string_view("c") : pattern, out);
    return out;
}

std::string DateTimeToStr(TDateTime value) {
    return FormatDateTime("c", value);
}
std::string DateToStr(TDateTime value) {
    return FormatDateTime(FormatSettings().ShortDateFormat, value);
}
std::string TimeToStr(TDateTime value) {
    return FormatDateTime(FormatSettings().LongTimeFormat, value);
}
