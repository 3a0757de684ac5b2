// Date and time as the class library keeps them: `TDateTime` counts days since
// 1899-12-30, the fraction being the time of day. Encoding and decoding,
// the clock (replaceable for tests), and texts in the locale's formats.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct _SYSTEMTIME;

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = HoursPerDay * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;

// ---- Clock -------------------------------------------------------------------

// The local time now, read through the clock in force.
TDateTime Now();
// Now() without its time of day, and its time of day alone.
TDateTime Date();
TDateTime Time();

// A clock returns the local time. Setting an empty one brings back the
// system's; the clock that was in force is returned. Safe to call while
// other threads read the time.
using TClock = std::function<TDateTime()>;
TClock SetClock(TClock clock);

// Scoped clock replacement for tests.
class TClockOverride {
public:
    explicit TClockOverride(TClock clock) : saved_(SetClock(std::move(clock))) {}
    ~TClockOverride() { SetClock(std::move(saved_)); }
    TClockOverride(const TClockOverride&) = delete;
    TClockOverride& operator=(const TClockOverride&) = delete;

private:
    TClock saved_;
};

// ---- Encoding and decoding ---------------------------------------------------

// Years 1-9999. Invalid arguments raise EConvertError
// "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);

// Rounded to the millisecond; a time that rounds to midnight moves to the
// next day.
void DecodeDate(TDateTime date, unsigned short& year, unsigned short& month, unsigned short& day);
void DecodeTime(TDateTime time, unsigned short& hour, unsigned short& min, unsigned short& sec,
                unsigned short& msec);
void DecodeDateTime(TDateTime value, unsigned short& year, unsigned short& month, unsigned short& day,
                    unsigned short& hour, unsigned short& min, unsigned short& sec, unsigned short& msec);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime date);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

TDateTime IncMilliSecond(TDateTime value, std::int64_t count = 1);
TDateTime IncSecond(TDateTime value, std::int64_t count = 1);
TDateTime IncMinute(TDateTime value, std::int64_t count = 1);
TDateTime IncHour(TDateTime value, std::int64_t count = 1);
TDateTime IncDay(TDateTime value, int count = 1);

void DateTimeToSystemTime(TDateTime value, _SYSTEMTIME& systemTime);
TDateTime SystemTimeToDateTime(const _SYSTEMTIME& systemTime);

// ---- Texts -------------------------------------------------------------------

// Patterns (letters in any case): c d dd ddd dddd ddddd m mm mmm mmmm yy yyyy
// h hh n nn s ss z zzz t tt am/pm a/p ampm, "/" and ":" (the locale's
// separators), 'quoted' and "quoted" literals. m right after h or hh is
// minutes; h is 12-hour when an am/pm pattern appears.
std::string FormatDateTime(std::string_view pattern, TDateTime value);
// The locale's short date format, then its long time format unless the time
// is exactly midnight.
std::string DateTimeToStr(TDateTime value);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
