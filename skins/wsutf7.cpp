#include "skins/wsutf7.h"

#include <cstdint>
#include <cstring>

#include "skins/wsplatform.h"

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kDirect[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:? \t\r\n";
constexpr char kOptional[] = "!\"#$%&*;<=>@[]^_`{|}";

struct TUtf7Tables {
    bool PassesDirect[128] = {};
    signed char Base64Value[128];
    TUtf7Tables() {
        std::memset(Base64Value, -1, sizeof Base64Value);
        for (int i = 0; i < 64; ++i)
            Base64Value[static_cast<unsigned char>(kBase64[i])] = static_cast<signed char>(i);
        for (const char* c = kDirect; *c; ++c) PassesDirect[static_cast<unsigned char>(*c)] = true;
        for (const char* c = kOptional; *c; ++c) PassesDirect[static_cast<unsigned char>(*c)] = true;
    }
};

const TUtf7Tables& Tables() {
    static const TUtf7Tables tables;
    return tables;
}

[[noreturn]] void Invalid() {
    throw EWsGeneralError("Invalid UTF7");
}

}  // namespace

std::string WideStringToUTF7(const std::wstring& W) {
    const TUtf7Tables& tables = Tables();
    std::string out;
    out.reserve(W.size() * 3);
    bool inRun = false;
    std::uint32_t bits = 0;
    int bitCount = 0;
    auto closeRun = [&] {
        if (bitCount > 0) out.push_back(kBase64[(bits << (6 - bitCount)) & 0x3F]);
        // Always closed, so that whatever follows reads as direct text.
        out.push_back('-');
        inRun = false;
        bits = 0;
        bitCount = 0;
    };
    for (wchar_t unit : W) {
        const unsigned u = static_cast<unsigned>(unit) & 0xFFFF;
        if (u == '+') {
            if (inRun) closeRun();
            out += "+-";
        } else if (u < 128 && tables.PassesDirect[u]) {
            if (inRun) closeRun();
            out.push_back(static_cast<char>(u));
        } else {
            if (!inRun) {
                out.push_back('+');
                inRun = true;
            }
            bits = (bits << 16) | u;
            bitCount += 16;
            while (bitCount >= 6) {
                bitCount -= 6;
                out.push_back(kBase64[(bits >> bitCount) & 0x3F]);
            }
            bits &= (1u << bitCount) - 1;
        }
    }
    if (inRun) closeRun();
    return out;
}

std::wstring UTF7ToWideString(const std::string& S) {
    const TUtf7Tables& tables = Tables();
    std::wstring out;
    out.reserve(S.size());
    bool invalid = false;
    std::size_t i = 0;
    while (i < S.size()) {
        const unsigned char c = static_cast<unsigned char>(S[i]);
        if (c != '+') {
            if (c > 127) invalid = true;
            out.push_back(static_cast<wchar_t>(c));
            ++i;
            continue;
        }
        ++i;
        std::uint32_t bits = 0;
        int bitCount = 0;
        int digits = 0;
        bool produced = false;
        while (i < S.size()) {
            const unsigned char d = static_cast<unsigned char>(S[i]);
            if (d > 127 || tables.Base64Value[d] < 0) break;
            bits = (bits << 6) | static_cast<std::uint32_t>(tables.Base64Value[d]);
            bitCount += 6;
            ++digits;
            ++i;
            if (bitCount >= 16) {
                bitCount -= 16;
                out.push_back(static_cast<wchar_t>((bits >> bitCount) & 0xFFFF));
                bits &= (1u << bitCount) - 1;
                produced = true;
            }
        }
        const bool terminatorIsSign = i < S.size() && (S[i] == '-' || S[i] == '+');
        if (digits == 0 && i < S.size() && S[i] == '-') {
            out.push_back(L'+');
        } else {
            if (!produced) invalid = true;
            if (bits != 0) invalid = true;
        }
        if (terminatorIsSign) ++i;
    }
    if (invalid) Invalid();
    return out;
}
