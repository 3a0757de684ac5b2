#include "classlib/graphics/colors.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "classlib/core/exceptions.h"

namespace {

struct ColorName {
    TColor color;
    const char* name;
};

// Order matters where two names share a value: the first is what
// ColorToIdent answers (clGray before clDkGray, clSilver before clLtGray).
constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

bool SameText(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

bool ParseNumber(const std::string& text, TColor& value) {
    std::string s = text;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.erase(s.begin());
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    if (s.empty()) return false;
    bool negative = false;
    size_t i = 0;
    if (s[i] == '-' || s[i] == '+') negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    unsigned long long magnitude = 0;
    for (; i < s.size(); ++i) {
        const int c = std::tolower(static_cast<unsigned char>(s[i]));
        int digit = std::isdigit(c) ? c - '0' : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99);
        if (digit >= base) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull) return false;
    }
    if (base == 10 && magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
    const auto bits = static_cast<std::uint32_t>(magnitude);
    value = static_cast<TColor>(negative ? 0u - bits : bits);
    return true;
}

}  // namespace

COLORREF ColorToRGB(TColor Color) {
    if (Color < 0) return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color);
}

bool ColorToIdent(TColor Color, std::string& Ident) {
    for (const auto& entry : kColorNames)
        if (entry.color == Color) {
            Ident = entry.name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& Ident, TColor& Color) {
    // Every name starts with "cl": numbers are told apart at once.
    if (Ident.size() < 2 || std::tolower(static_cast<unsigned char>(Ident[0])) != 'c' ||
        std::tolower(static_cast<unsigned char>(Ident[1])) != 'l')
        return false;
    for (const auto& entry : kColorNames)
        if (SameText(Ident, entry.name)) {
            Color = entry.color;
            return true;
        }
    return false;
}

TColor StringToColor(const std::string& S) {
    TColor color;
    if (IdentToColor(S, color) || ParseNumber(S, color)) return color;
    throw EConvertError("'" + S + "' is not a valid integer value");
}

std::string ColorToString(TColor Color) {
    std::string ident;
    if (ColorToIdent(Color, ident)) return ident;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%.8X", static_cast<unsigned>(Color));
    return buffer;
}
