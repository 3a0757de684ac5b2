#include "app/password_scrambler.h"

#include <optional>

#include "classlib/core/datetime.h"
#include "classlib/core/text.h"

namespace {

constexpr size_t KeyDigits = 39;

// The key hidden in one block of codes: its digits unscrambled with the fixed
// key, which must read as a decimal number.
std::optional<uint32_t> KeyFromCodes(const std::string& codes) {
    const std::string digits = UnscrambleBytes(DecimalCodesToBytes(codes), FixedScramblerKey.StartKey,
                                               FixedScramblerKey.Multiplier, FixedScramblerKey.Addend);
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

std::string ScrambledKey(int64_t key, int width) {
    return BytesToDecimalCodes(ScrambleBytes(IntToZeroPadded(key, width), FixedScramblerKey.StartKey,
                                             FixedScramblerKey.Multiplier, FixedScramblerKey.Addend));
}

}  // namespace

std::string ScrambleBytes(const std::string& text, uint32_t startKey, uint32_t multiplier, uint32_t addend) {
    std::string out;
    out.reserve(text.size());
    uint32_t key = startKey;
    for (unsigned char b : text) {
        const auto scrambled = static_cast<unsigned char>(b ^ ((key >> 8) & 0xFF));
        out += static_cast<char>(scrambled);
        key = (key + scrambled) * multiplier + addend;
    }
    return out;
}

std::string UnscrambleBytes(const std::string& text, uint32_t startKey, uint32_t multiplier,
                            uint32_t addend) {
    std::string out;
    out.reserve(text.size());
    uint32_t key = startKey;
    for (unsigned char b : text) {
        out += static_cast<char>(b ^ ((key >> 8) & 0xFF));
        key = (key + b) * multiplier + addend;
    }
    return out;
}

std::string IntToZeroPadded(int64_t value, int width) {
    std::string text = IntToStr(value);
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
    return text;
}

std::string BytesToDecimalCodes(const std::string& bytes) {
    std::string codes;
    codes.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) codes += IntToZeroPadded(b, 3);
    return codes;
}

std::string DecimalCodesToBytes(const std::string& codes) {
    if (codes.size() % 3 != 0) return {};
    std::string bytes;
    bytes.reserve(codes.size() / 3);
    for (size_t i = 0; i < codes.size(); i += 3) {
        int value = 0;
        for (size_t j = i; j < i + 3; ++j) {
            if (codes[j] < '0' || codes[j] > '9') return {};
            value = value * 10 + (codes[j] - '0');
        }
        if (value > 255) return {};
        bytes += static_cast<char>(value);
    }
    return bytes;
}

void ScrambleString(const std::string& text, std::string& stored) {
    stored.clear();
    try {
        unsigned short year, month, day, hour, minute, second, millisecond;
        const TDateTime now = Now();
        DecodeDate(now, year, month, day);
        DecodeTime(now, hour, minute, second, millisecond);
        const uint32_t k1 = millisecond < 256 ? millisecond + 256u : millisecond;
        const uint32_t k2 = ((year - 1900) * 12 + month) * 30 + day + k1 * 11;
        const uint32_t k3 = (hour * 23 + minute) * 60 + second + k1 * 11;
        stored = ScrambledKey(k1, 3) + ScrambledKey(k2, 5) + ScrambledKey(k3, 5) +
                 BytesToDecimalCodes(ScrambleBytes(text, k1, k2, k3));
    } catch (...) {
        stored.clear();
    }
}

void UnscrambleString(const std::string& stored, std::string& text) {
    text.clear();
    try {
        if (stored.size() < KeyDigits) return;
        const auto k1 = KeyFromCodes(stored.substr(0, 9));
        const auto k2 = KeyFromCodes(stored.substr(9, 15));
        const auto k3 = KeyFromCodes(stored.substr(24, 15));
        if (!k1 || !k2 || !k3) return;
        const std::string body = stored.substr(KeyDigits);
        const std::string bytes = DecimalCodesToBytes(body);
        if (bytes.empty() && !body.empty()) return;
        text = UnscrambleBytes(bytes, *k1, *k2, *k3);
    } catch (...) {
        text.clear();
    }
}
