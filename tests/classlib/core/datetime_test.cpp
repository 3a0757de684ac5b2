// Date and time: encoding and decoding round trips, day of week, the clock
// seam, FormatDateTime patterns and the locale's date and time texts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "classlib/core/datetime.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

struct Ymd {
    int Year, Month, Day;
};

Ymd DecodeYmd(TDateTime value) {
    unsigned short y, m, d;
    DecodeDate(value, y, m, d);
    return {y, m, d};
}

std::string Stamp(TDateTime value) {
    return FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", value);
}

// Fixed English settings, so texts do not depend on the machine.
TFormatSettings TestSettings() {
    TFormatSettings s;
    s.DateSeparator = '/';
    s.TimeSeparator = ':';
    s.ShortDateFormat = "m/d/yyyy";
    s.LongDateFormat = "dddd, mmmm d, yyyy";
    s.ShortTimeFormat = "h:nn AMPM";
    s.LongTimeFormat = "h:nn:ss AMPM";
    s.TimeAMString = "AM";
    s.TimePMString = "PM";
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    const char* days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (int i = 0; i < 12; ++i) {
        s.LongMonthNames[i] = months[i];
        s.ShortMonthNames[i] = std::string(months[i], 3);
    }
    for (int i = 0; i < 7; ++i) {
        s.LongDayNames[i] = days[i];
        s.ShortDayNames[i] = std::string(days[i], 3);
    }
    return s;
}

TEST(EncodeDate, CountsDaysFrom1899_12_30) {
    const struct {
        Ymd Date;
        double Serial;
    } cases[] = {
        {{1899, 12, 30}, 0},  {{1899, 12, 31}, 1},       {{1900, 1, 1}, 2},
        {{1900, 3, 1}, 61},   {{2000, 1, 1}, 36526},     {{2000, 2, 29}, 36585},
        {{1, 1, 1}, -693593}, {{9999, 12, 31}, 2958465}, {{1899, 12, 29}, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.Date.Year, c.Date.Month, c.Date.Day), c.Serial) << c.Serial;
        Ymd back = DecodeYmd(c.Serial);
        EXPECT_EQ(back.Year, c.Date.Year);
        EXPECT_EQ(back.Month, c.Date.Month);
        EXPECT_EQ(back.Day, c.Date.Day);
    }
}

TEST(EncodeDate, EveryDayRoundTripsAcrossCenturiesAndLeapDays) {
    TDateTime previous = EncodeDate(1599, 12, 31);
    int leapDays = 0;
    for (int year = 1600; year <= 2400; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                TDateTime date = EncodeDate(year, month, day);
                ASSERT_EQ(date, previous + 1) << year << "-" << month << "-" << day;
                Ymd back = DecodeYmd(date);
                ASSERT_TRUE(back.Year == year && back.Month == month && back.Day == day) << date;
                if (month == 2 && day == 29) ++leapDays;
                previous = date;
            }
        }
    }
    // 801 years hold 195 leap years (1700, 1800, 1900, 2100, 2200, 2300 are not).
    EXPECT_EQ(leapDays, 195);
}

TEST(EncodeDate, InvalidArgumentsRaise) {
    const Ymd invalid[] = {{1900, 2, 29}, {2023, 2, 29}, {0, 1, 1},     {10000, 1, 1}, {2000, 13, 1},
                           {2000, 0, 1},  {2000, 1, 0},  {2000, 4, 31}, {2000, 1, 32}};
    for (const Ymd& d : invalid) {
        TDateTime date = 123;
        EXPECT_FALSE(TryEncodeDate(d.Year, d.Month, d.Day, date));
        EXPECT_EQ(date, 123);
        try {
            EncodeDate(d.Year, d.Month, d.Day);
            ADD_FAILURE() << d.Year << "-" << d.Month << "-" << d.Day;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
}

TEST(EncodeTime, RoundTripsEveryMillisecondOfADay) {
    // Sampled with a stride that visits every hour, minute, second and many
    // millisecond values, plus the last millisecond of the day.
    for (int ms = 0; ms < MSecsPerDay; ms += 997) {
        int hour = ms / 3600000, min = ms / 60000 % 60, sec = ms / 1000 % 60, msec = ms % 1000;
        TDateTime time = EncodeTime(hour, min, sec, msec);
        unsigned short h, n, s, z;
        DecodeTime(time, h, n, s, z);
        ASSERT_TRUE(h == hour && n == min && s == sec && z == msec) << ms;
    }
    TDateTime last = EncodeDateTime(2024, 2, 29, 23, 59, 59, 999);
    EXPECT_EQ(Stamp(last), "2024-02-29 23:59:59.999");
}

TEST(EncodeTime, InvalidArgumentsRaise) {
    const int invalid[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& t : invalid) {
        TDateTime time = 5;
        EXPECT_FALSE(TryEncodeTime(t[0], t[1], t[2], t[3], time));
        EXPECT_EQ(time, 5);
        try {
            EncodeTime(t[0], t[1], t[2], t[3]);
            ADD_FAILURE() << t[0];
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to time encode");
        }
    }
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(DecodeTime, RoundsToTheMillisecondAndCarriesIntoTheNextDay) {
    TDateTime almost = EncodeDate(2023, 12, 31) + (MSecsPerDay - 0.4) / MSecsPerDay;
    EXPECT_EQ(Stamp(almost), "2024-01-01 00:00:00.000");
    EXPECT_EQ(Stamp(EncodeDate(2023, 12, 31) + 0.4 / MSecsPerDay), "2023-12-31 00:00:00.000");
}

TEST(DateTime, BeforeTheEpochTheTimeOfDayStillCountsForward) {
    TDateTime value = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
    EXPECT_EQ(value, -1.25);
    EXPECT_EQ(Stamp(value), "1899-12-29 06:00:00.000");
    EXPECT_EQ(Stamp(IncHour(EncodeDateTime(1899, 12, 30, 1, 0, 0, 0), -2)), "1899-12-29 23:00:00.000");
    EXPECT_EQ(Stamp(IncHour(value, 24)), "1899-12-30 06:00:00.000");
}

TEST(DayOfWeek, OneIsSunday) {
    const struct {
        Ymd Date;
        int Day;
    } cases[] = {
        {{1899, 12, 30}, 7}, {{1899, 12, 24}, 1}, {{2000, 1, 1}, 7},
        {{2024, 2, 29}, 5},  {{2024, 3, 3}, 1},   {{1, 1, 1}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DayOfWeek(EncodeDateTime(c.Date.Year, c.Date.Month, c.Date.Day, 18, 0, 0, 0)), c.Day)
            << c.Date.Year;
}

TEST(IncTime, StepsCrossDaysAndYears) {
    EXPECT_EQ(Stamp(IncMilliSecond(EncodeDateTime(2024, 12, 31, 23, 59, 59, 999))),
              "2025-01-01 00:00:00.000");
    EXPECT_EQ(Stamp(IncSecond(EncodeDateTime(2024, 3, 1, 0, 0, 0, 0), -1)), "2024-02-29 23:59:59.000");
    EXPECT_EQ(Stamp(IncMinute(EncodeDateTime(2024, 1, 1, 10, 0, 0, 0), 90)), "2024-01-01 11:30:00.000");
    EXPECT_EQ(Stamp(IncDay(EncodeDateTime(2024, 1, 31, 10, 0, 0, 0), 29)), "2024-02-29 10:00:00.000");
}

TEST(SystemTime, RoundTripsWithTheDayOfWeek) {
    TDateTime value = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
    SYSTEMTIME st;
    DateTimeToSystemTime(value, st);
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wMonth, 3);
    EXPECT_EQ(st.wDay, 5);
    EXPECT_EQ(st.wDayOfWeek, 2);  // Tuesday, counted from Sunday = 0
    EXPECT_EQ(st.wHour, 14);
    EXPECT_EQ(st.wMinute, 7);
    EXPECT_EQ(st.wSecond, 9);
    EXPECT_EQ(st.wMilliseconds, 45);
    EXPECT_EQ(SystemTimeToDateTime(st), value);
}

TEST(Clock, NowReadsTheClockInForce) {
    const TDateTime fixed = EncodeDateTime(2021, 6, 15, 18, 30, 0, 0);
    {
        TClockOverride clock([fixed] { return fixed; });
        EXPECT_EQ(Now(), fixed);
        EXPECT_EQ(Date(), EncodeDate(2021, 6, 15));
        EXPECT_NEAR(Time(), EncodeTime(18, 30, 0, 0), 1e-9);
    }
    SYSTEMTIME local;
    GetLocalTime(&local);
    EXPECT_NEAR(Now(), SystemTimeToDateTime(local), 60.0 / SecsPerDay);
}

TEST(FormatDateTime, Patterns) {
    TFormatSettingsOverride settings(TestSettings());
    const TDateTime value = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);  // a Tuesday
    const TDateTime morning = EncodeDateTime(2024, 11, 25, 0, 5, 0, 0);
    const struct {
        const char* Pattern;
        TDateTime Value;
        const char* Expected;
    } cases[] = {
        {"yyyy-mm-dd hh:nn:ss.zzz", value, "2024-03-05 14:07:09.045"},
        {"yyyymmddhhnnss", value, "20240305140709"},
        {"d/m/yy", value, "5/3/24"},
        {"dd/mm/yyyy", morning, "25/11/2024"},
        {"ddd dddd", value, "Tue Tuesday"},
        {"mmm mmmm", value, "Mar March"},
        {"DDD, D MMM YYYY", value, "Tue, 5 Mar 2024"},
        {"h:n:s z", value, "14:7:9 45"},
        {"hh:mm", value, "14:07"},
        {"h:mm am/pm", value, "2:07 pm"},
        {"hh:nn AM/PM", value, "02:07 PM"},
        {"h a/p", value, "2 p"},
        {"h ampm", value, "2 PM"},
        {"h am/pm", morning, "12 am"},
        {"h:nn", morning, "0:05"},
        {"'yyyy' yyyy", value, "yyyy 2024"},
        {"\"at\" h", value, "at 14"},
        {"c", value, "3/5/2024 2:07:09 PM"},
        {"c", EncodeDate(2024, 3, 5), "3/5/2024"},
        {"ddddd", value, "3/5/2024"},
        {"dddddd", value, "Tuesday, March 5, 2024"},
        {"t", value, "2:07 PM"},
        {"tt", value, "2:07:09 PM"},
        {"yyyy", EncodeDate(987, 6, 5), "0987"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.Pattern, c.Value), c.Expected) << c.Pattern;
}

TEST(FormatDateTime, SeparatorsComeFromTheSettings) {
    TFormatSettings s = TestSettings();
    s.DateSeparator = '.';
    s.TimeSeparator = '-';
    TFormatSettingsOverride settings(s);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", EncodeDateTime(2024, 3, 5, 14, 7, 0, 0)),
              "05.03.2024 14-07");
}

TEST(DateTimeToStr, UsesTheShortDateAndLongTimeFormats) {
    TFormatSettings s = TestSettings();
    s.DateSeparator = '.';
    s.ShortDateFormat = "dd/mm/yyyy";
    s.LongTimeFormat = "hh:nn:ss";
    TFormatSettingsOverride settings(s);
    const TDateTime value = EncodeDateTime(2024, 3, 5, 14, 7, 9, 0);
    EXPECT_EQ(DateTimeToStr(value), "05.03.2024 14:07:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(DateToStr(value), "05.03.2024");
    EXPECT_EQ(TimeToStr(value), "14:07:09");
}

TEST(DateTimeToStr, LocaleFormatsGiveReadableText) {
    // Whatever the machine's locale, the year and the minutes must show.
    std::string text = DateTimeToStr(EncodeDateTime(2024, 3, 5, 14, 7, 9, 0));
    EXPECT_NE(text.find("24"), std::string::npos) << text;
    EXPECT_NE(text.find("07"), std::string::npos) << text;
}

}  // namespace
