// Format and the texts of floating point numbers: digits are rounded in
// decimal, half away from zero, as the class library does.
#include "classlib/core/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "classlib/core/exceptions.h"

// ---- Decimal digits of a double --------------------------------------------

namespace {

// A double as significant decimal digits: value = 0.Digits x 10^Exponent.
// Empty digits mean zero.
struct TDecimal {
    bool Negative = false;
    bool Special = false;  // infinite or not a number; Digits then holds the text
    int Exponent = 0;
    std::string Digits;
};

// 17 significant digits tell every double apart; rounding happens on these
// decimal digits (half away from zero), not on the binary value.
TDecimal ToDecimal(double value) {
    TDecimal d;
    d.Negative = std::signbit(value);
    if (std::isnan(value)) {
        d.Special = true;
        d.Negative = false;
        d.Digits = "NAN";
        return d;
    }
    if (std::isinf(value)) {
        d.Special = true;
        d.Digits = "INF";
        return d;
    }
    if (value == 0) return d;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(value));
    // "d.dddddddddddddddde+XX"
    d.Digits.push_back(buffer[0]);
    const char* p = buffer + 2;
    while (*p >= '0' && *p <= '9') d.Digits.push_back(*p++);
    d.Exponent = std::atoi(p + 1) + 1;
    while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
    return d;
}

// Keeps the first `keep` digits, rounding the rest away.
void RoundDigits(TDecimal& d, int keep) {
    if (d.Special || keep >= static_cast<int>(d.Digits.size())) return;
    if (keep < 0) {
        d.Digits.clear();
    } else {
        bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
        d.Digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9')
                d.Digits[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0) {
                ++d.Digits[static_cast<std::size_t>(i)];
            } else {
                d.Digits.insert(d.Digits.begin(), '1');
                ++d.Exponent;
            }
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
    if (d.Digits.empty()) d.Exponent = 0;
}

char DigitAt(const TDecimal& d, int index) {
    return index >= 0 && index < static_cast<int>(d.Digits.size()) ? d.Digits[static_cast<std::size_t>(index)]
                                                                   : '0';
}

std::string SignOf(const TDecimal& d) {
    return d.Negative && !d.Digits.empty() ? "-" : "";
}

std::string ExponentText(int exponent, bool plusSign, int minDigits) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return std::string("E") + (exponent < 0 ? "-" : (plusSign ? "+" : "")) + digits;
}

// Fixed or scientific, whichever the digits need; no trailing zeros.
std::string FormatGeneral(double value, int precision) {
    TDecimal d = ToDecimal(value);
    if (d.Special) return SignOf(d) + d.Digits;
    RoundDigits(d, precision);
    if (d.Digits.empty()) return "0";
    char separator = FormatSettings().DecimalSeparator;
    std::string text;
    if (d.Exponent > precision || d.Exponent < -3) {
        text = d.Digits.substr(0, 1);
        if (d.Digits.size() > 1) text += separator + d.Digits.substr(1);
        text += ExponentText(d.Exponent - 1, false, 0);
    } else if (d.Exponent <= 0) {
        text =
            std::string("0") + separator + std::string(static_cast<std::size_t>(-d.Exponent), '0') + d.Digits;
    } else {
        for (int i = 0; i < d.Exponent; ++i) text += DigitAt(d, i);
        if (static_cast<int>(d.Digits.size()) > d.Exponent)
            text += separator + d.Digits.substr(static_cast<std::size_t>(d.Exponent));
    }
    return SignOf(d) + text;
}

// "-d.ddddE+ddd" with `precision` significant digits.
std::string FormatExponent(double value, int precision) {
    TDecimal d = ToDecimal(value);
    if (d.Special) return SignOf(d) + d.Digits;
    RoundDigits(d, precision);
    std::string text(1, DigitAt(d, 0));
    if (precision > 1) {
        text += FormatSettings().DecimalSeparator;
        for (int i = 1; i < precision; ++i) text += DigitAt(d, i);
    }
    text += ExponentText(d.Digits.empty() ? 0 : d.Exponent - 1, true, 3);
    return SignOf(d) + text;
}

// `decimals` digits after the separator; thousands grouped when asked.
std::string FormatFixed(double value, int decimals, bool grouped) {
    TDecimal d = ToDecimal(value);
    if (d.Special) return SignOf(d) + d.Digits;
    if (d.Exponent > 18) return FormatGeneral(value, 15);
    RoundDigits(d, d.Exponent + decimals);
    std::string whole;
    for (int i = 0; i < d.Exponent; ++i) whole += DigitAt(d, i);
    if (whole.empty()) whole = "0";
    if (grouped) {
        const char thousands = FormatSettings().ThousandSeparator;
        for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3)
            whole.insert(static_cast<std::size_t>(at), 1, thousands);
    }
    std::string text = whole;
    if (decimals > 0) {
        text += FormatSettings().DecimalSeparator;
        for (int i = 0; i < decimals; ++i) text += DigitAt(d, d.Exponent + i);
    }
    return SignOf(d) + text;
}

}  // namespace

// ---- Format ----------------------------------------------------------------

namespace {

class TFormatter {
public:
    TFormatter(std::string_view format, const TVarRec* args, std::size_t count)
        : format_(format), args_(args), count_(count) {}

    std::string Run() {
        std::string out;
        std::size_t i = 0;
        while (i < format_.size()) {
            std::size_t percent = format_.find('%', i);
            if (percent == std::string_view::npos) percent = format_.size();
            out.append(format_.substr(i, percent - i));
            if (percent == format_.size()) break;
            i = percent + 1;
            if (i < format_.size() && format_[i] == '%') {
                out += '%';
                ++i;
                continue;
            }
            out += Conversion(i);
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const {
        throw EConvertError("Format '" + std::string(format_) + "' invalid or incompatible with argument");
    }

    const TVarRec& NextArg() {
        if (next_ >= count_) Invalid();
        return args_[next_++];
    }

    // A number, "*" (an integer argument), or nothing (-1).
    int Number(std::size_t& i) {
        if (i < format_.size() && format_[i] == '*') {
            ++i;
            const TVarRec& arg = NextArg();
            if (arg.Kind != TVarRec::vtInteger) Invalid();
            return arg.VInteger;
        }
        if (i >= format_.size() || format_[i] < '0' || format_[i] > '9') return -1;
        int value = 0;
        while (i < format_.size() && format_[i] >= '0' && format_[i] <= '9') {
            value = value * 10 + (format_[i] - '0');
            if (value > 100000000) Invalid();
            ++i;
        }
        return value;
    }

    std::string Conversion(std::size_t& i) {
        int width = Number(i);
        if (i < format_.size() && format_[i] == ':') {
            ++i;
            if (width < 0) width = 0;
            next_ = static_cast<std::size_t>(width);
            width = -1;
        }
        bool left = false;
        if (i < format_.size() && format_[i] == '-') {
            left = true;
            ++i;
        }
        if (width < 0) width = Number(i);
        int precision = -1;
        if (i < format_.size() && format_[i] == '.') {
            ++i;
            precision = Number(i);
            if (precision < 0) precision = 0;
        }
        if (i >= format_.size()) Invalid();
        char type = static_cast<char>(format_[i++] | 0x20);
        std::string text = Convert(type, precision);
        if (width > static_cast<int>(text.size())) {
            std::string pad(static_cast<std::size_t>(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        return text;
    }

    static std::string PadDigits(std::string digits, int precision) {
        if (precision > static_cast<int>(digits.size()))
            digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
        return digits;
    }

    std::string Convert(char type, int precision) {
        switch (type) {
            case 'd': {
                const TVarRec& arg = NextArg();
                bool negative = false;
                std::uint64_t magnitude = 0;
                if (arg.Kind == TVarRec::vtInteger) {
                    negative = arg.VInteger < 0;
                    magnitude = negative
                                    ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(arg.VInteger))
                                    : static_cast<std::uint64_t>(arg.VInteger);
                } else if (arg.Kind == TVarRec::vtInt64) {
                    negative = arg.VInt64 < 0;
                    magnitude = negative ? 0 - static_cast<std::uint64_t>(arg.VInt64)
                                         : static_cast<std::uint64_t>(arg.VInt64);
                } else if (arg.Kind == TVarRec::vtUInt64) {
                    magnitude = arg.VUInt64;
                } else {
                    Invalid();
                }
                return (negative ? "-" : "") + PadDigits(std::to_string(magnitude), precision);
            }
            case 'u':
                return PadDigits(std::to_string(Unsigned(NextArg())), precision);
            case 'x':
                return IntToHex64(Unsigned(NextArg()), precision);
            case 'e':
                return FormatExponent(Float(), precision < 0 ? 15 : std::clamp(precision, 1, 18));
            case 'f':
                return FormatFixed(Float(), precision < 0 ? 2 : std::min(precision, 18), false);
            case 'g':
                return FormatGeneral(Float(), precision < 0 ? 15 : std::clamp(precision, 1, 18));
            case 'n':
                return FormatFixed(Float(), precision < 0 ? 2 : std::min(precision, 18), true);
            case 'p': {
                const TVarRec& arg = NextArg();
                if (arg.Kind != TVarRec::vtPointer) Invalid();
                return IntToHex64(reinterpret_cast<std::uintptr_t>(arg.VPointer),
                                  2 * static_cast<int>(sizeof(void*)));
            }
            case 's': {
                const TVarRec& arg = NextArg();
                std::string text;
                if (arg.Kind == TVarRec::vtString)
                    text.assign(arg.VString.Data, arg.VString.Length);
                else if (arg.Kind == TVarRec::vtChar)
                    text.assign(1, arg.VChar);
                else
                    Invalid();
                if (precision >= 0 && precision < static_cast<int>(text.size()))
                    text.resize(static_cast<std::size_t>(precision));
                return text;
            }
            default:
                Invalid();
        }
    }

    // %u and %x show 32-bit values as their unsigned 32-bit pattern.
    std::uint64_t Unsigned(const TVarRec& arg) const {
        switch (arg.Kind) {
            case TVarRec::vtInteger:
                return static_cast<std::uint32_t>(arg.VInteger);
            case TVarRec::vtInt64:
                return static_cast<std::uint64_t>(arg.VInt64);
            case TVarRec::vtUInt64:
                return arg.VUInt64;
            default:
                Invalid();
        }
    }

    double Float() {
        const TVarRec& arg = NextArg();
        if (arg.Kind != TVarRec::vtExtended) Invalid();
        return arg.VExtended;
    }

    std::string_view format_;
    const TVarRec* args_;
    std::size_t count_;
    std::size_t next_ = 0;
};

}  // namespace

std::string FormatArray(std::string_view format, const TVarRec* args, std::size_t count) {
    return TFormatter(format, args, count).Run();
}

// ---- Floats ----------------------------------------------------------------

std::string FloatToStr(double value) {
    return FormatGeneral(value, 15);
}

bool TryStrToFloat(std::string_view text, double& value) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    const char separator = FormatSettings().DecimalSeparator;
    // Checked here rather than left to the C library so that only our
    // separator counts and nothing else (hex, "inf", "nan") slips through.
    std::size_t i = begin;
    auto digits = [&] {
        std::size_t start = i;
        while (i < end && text[i] >= '0' && text[i] <= '9') ++i;
        return std::string(text.substr(start, i - start));
    };
    std::string plain;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    std::string whole = digits(), fraction;
    if (i < end && text[i] == separator) {
        ++i;
        fraction = digits();
    }
    if (whole.empty() && fraction.empty()) return false;
    plain += whole.empty() ? "0" : whole;
    if (!fraction.empty()) plain += '.' + fraction;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        std::string exponent = digits();
        if (exponent.empty()) return false;
        plain += exponent;
    }
    if (i != end) return false;
    double result;
    auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), result);
    if (ec != std::errc() || ptr != plain.data() + plain.size()) return false;
    value = result;
    return true;
}

double StrToFloat(std::string_view text) {
    double value;
    if (!TryStrToFloat(text, value))
        throw EConvertError(Format("'%s' is not a valid floating point value", text));
    return value;
}

double StrToFloatDef(std::string_view text, double defaultValue) {
    double value;
    return TryStrToFloat(text, value) ? value : defaultValue;
}
