// The locale's number and date conventions, read once and replaceable.
#include "classlib/core/text.h"

#include <algorithm>
#include <string>

#include "classlib/core/win32.h"

// ---- Locale settings ------------------------------------------------------

namespace {

std::string LocaleString(LCTYPE type, const char* fallback) {
    char buffer[256];
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    if (length <= 1) return fallback;
    return std::string(buffer, static_cast<std::size_t>(length - 1));
}

char LocaleChar(LCTYPE type, char fallback) {
    std::string text = LocaleString(type, "");
    return text.size() == 1 ? text[0] : fallback;
}

// The locale writes date and time pictures with its own letters (M for month,
// m for minute, H for the 24-hour clock, tt for the AM/PM marker) and its
// separators spelled out; ours use the class library's letters and '/' and ':'
// standing for the separators.
std::string ConvertLocalePicture(const std::string& picture, char separator, bool timePicture) {
    const char separatorLetter = timePicture ? ':' : '/';
    std::string result;
    std::size_t i = 0;
    while (i < picture.size()) {
        char c = picture[i];
        if (c == '\'') {
            std::size_t end = picture.find('\'', i + 1);
            if (end == std::string::npos) end = picture.size() - 1;
            result.append(picture, i, end - i + 1);
            if (result.back() != '\'') result += '\'';
            i = end + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (timePicture) {
            switch (c) {
                case 'h':
                case 'H':
                    result.append(run >= 2 ? "hh" : "h");
                    break;
                case 'm':
                    result.append(run >= 2 ? "nn" : "n");
                    break;
                case 's':
                    result.append(run >= 2 ? "ss" : "s");
                    break;
                case 't':
                    result.append("AMPM");
                    break;
                default:
                    for (std::size_t k = 0; k < run; ++k) result += c == separator ? separatorLetter : c;
            }
        } else {
            switch (c) {
                case 'd':
                    result.append(std::min<std::size_t>(run, 4), 'd');
                    break;
                case 'M':
                    result.append(std::min<std::size_t>(run, 4), 'm');
                    break;
                case 'y':
                    result.append(run <= 2 ? "yy" : "yyyy");
                    break;
                case 'g':
                    break;  // era names: none in the class library's patterns
                default:
                    for (std::size_t k = 0; k < run; ++k) result += c == separator ? separatorLetter : c;
            }
        }
        i += run;
    }
    return result;
}

// The short time format is the long one without its seconds.
std::string DropSeconds(const std::string& longTime) {
    std::size_t at = longTime.find('s');
    if (at == std::string::npos) return longTime;
    std::size_t end = at;
    while (end < longTime.size() && longTime[end] == 's') ++end;
    std::size_t begin = at;
    if (begin > 0 && longTime[begin - 1] == ':') --begin;
    return longTime.substr(0, begin) + longTime.substr(end);
}

TFormatSettings& CurrentSettings() {
    static TFormatSettings settings = LocaleFormatSettings();
    return settings;
}

}  // namespace

std::string ConvertLocaleDateFormat(const std::string& picture, char dateSeparator) {
    return ConvertLocalePicture(picture, dateSeparator, false);
}

std::string ConvertLocaleTimeFormat(const std::string& picture, char timeSeparator) {
    return ConvertLocalePicture(picture, timeSeparator, true);
}

TFormatSettings LocaleFormatSettings() {
    TFormatSettings s;
    s.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, '.');
    s.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, ',');
    s.DateSeparator = LocaleChar(LOCALE_SDATE, '/');
    s.TimeSeparator = LocaleChar(LOCALE_STIME, ':');
    s.ShortDateFormat = ConvertLocaleDateFormat(LocaleString(LOCALE_SSHORTDATE, "M/d/yyyy"), s.DateSeparator);
    s.LongDateFormat =
        ConvertLocaleDateFormat(LocaleString(LOCALE_SLONGDATE, "dddd, MMMM d, yyyy"), s.DateSeparator);
    s.LongTimeFormat =
        ConvertLocaleTimeFormat(LocaleString(LOCALE_STIMEFORMAT, "h:mm:ss tt"), s.TimeSeparator);
    s.ShortTimeFormat = DropSeconds(s.LongTimeFormat);
    s.TimeAMString = LocaleString(LOCALE_S1159, "AM");
    s.TimePMString = LocaleString(LOCALE_S2359, "PM");
    static const char* const shortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char* const longMonths[] = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i, shortMonths[i]);
        s.LongMonthNames[i] = LocaleString(LOCALE_SMONTHNAME1 + i, longMonths[i]);
    }
    // The locale counts days from Monday; ours start on Sunday.
    static const char* const shortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const longDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    for (int i = 0; i < 7; ++i) {
        int localeDay = (i + 6) % 7;
        s.ShortDayNames[i] = LocaleString(LOCALE_SABBREVDAYNAME1 + localeDay, shortDays[i]);
        s.LongDayNames[i] = LocaleString(LOCALE_SDAYNAME1 + localeDay, longDays[i]);
    }
    return s;
}

const TFormatSettings& FormatSettings() {
    return CurrentSettings();
}
void SetFormatSettings(const TFormatSettings& settings) {
    CurrentSettings() = settings;
}
void ResetFormatSettings() {
    CurrentSettings() = LocaleFormatSettings();
}

TFormatSettingsOverride::TFormatSettingsOverride(const TFormatSettings& settings) : saved_(FormatSettings()) {
    SetFormatSettings(settings);
}
TFormatSettingsOverride::~TFormatSettingsOverride() {
    SetFormatSettings(saved_);
}
