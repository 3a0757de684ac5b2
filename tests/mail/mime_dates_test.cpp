#include "mail/mime_dates.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/text.h"

namespace {

TIME_ZONE_INFORMATION zoneInfo;
DWORD zoneState;

DWORD FakeZone(TIME_ZONE_INFORMATION* info) {
    *info = zoneInfo;
    return zoneState;
}

class MimeDates : public ::testing::Test {
protected:
    void SetUp() override { saved_ = SetTimeZoneQuery(&FakeZone); }
    void TearDown() override { SetTimeZoneQuery(saved_); }

    static void SetZone(long bias, long standardBias, long daylightBias, DWORD state) {
        zoneInfo = {};
        zoneInfo.Bias = bias;
        zoneInfo.StandardBias = standardBias;
        zoneInfo.DaylightBias = daylightBias;
        zoneState = state;
    }

private:
    TTimeZoneQuery saved_ = nullptr;
};

TEST_F(MimeDates, ZoneBiasAddsTheBiasOfTheReportedState) {
    struct {
        long Bias, StandardBias, DaylightBias;
        DWORD State;
        double Minutes;
    } const cases[] = {
        {-330, 0, 0, TIME_ZONE_ID_UNKNOWN, 330},     {480, 0, -60, TIME_ZONE_ID_DAYLIGHT, -420},
        {480, 10, -60, TIME_ZONE_ID_STANDARD, -490}, {480, 10, -60, TIME_ZONE_ID_UNKNOWN, -480},
        {0, 0, 0, TIME_ZONE_ID_UNKNOWN, 0},
    };
    for (const auto& c : cases) {
        SetZone(c.Bias, c.StandardBias, c.DaylightBias, c.State);
        EXPECT_DOUBLE_EQ(GetTimeZoneBias() * 1440, c.Minutes) << c.Bias;
    }
}

TEST_F(MimeDates, RFC822TextWithEnglishNamesAndZone) {
    const TDateTime when = EncodeDateTime(2026, 12, 6, 11, 9, 31, 0);
    struct {
        long Bias;
        DWORD State;
        const char* Text;
    } const cases[] = {
        {-480, TIME_ZONE_ID_UNKNOWN, "Sun, 06 Dec 2026 11:09:31 +0800"},
        {-330, TIME_ZONE_ID_UNKNOWN, "Sun, 06 Dec 2026 11:09:31 +0530"},
        {480, TIME_ZONE_ID_UNKNOWN, "Sun, 06 Dec 2026 11:09:31 -0800"},
        {0, TIME_ZONE_ID_UNKNOWN, "Sun, 06 Dec 2026 11:09:31 GMT"},
        {60, TIME_ZONE_ID_DAYLIGHT, "Sun, 06 Dec 2026 11:09:31 GMT"},  // daylight bias -60
    };
    for (const auto& c : cases) {
        SetZone(c.Bias, 0, -60, c.State);
        EXPECT_EQ(DateToRFC822(when), c.Text);
    }
    SetZone(0, 0, 0, TIME_ZONE_ID_UNKNOWN);
    EXPECT_EQ(DateToRFC822(EncodeDateTime(1999, 1, 2, 3, 4, 5, 0)), "Sat, 02 Jan 1999 03:04:05 GMT");
    EXPECT_EQ(DateToRFC822(EncodeDateTime(2024, 2, 29, 23, 59, 59, 0)), "Thu, 29 Feb 2024 23:59:59 GMT");
}

TEST_F(MimeDates, TextIgnoresTheLocale) {
    TFormatSettings settings = FormatSettings();
    settings.TimeSeparator = '.';
    settings.ShortDayNames[0] = "So";
    TFormatSettingsOverride german(settings);
    SetZone(0, 0, 0, TIME_ZONE_ID_UNKNOWN);
    EXPECT_EQ(DateToRFC822(EncodeDateTime(2026, 12, 6, 11, 9, 31, 0)), "Sun, 06 Dec 2026 11:09:31 GMT");
}

}  // namespace
