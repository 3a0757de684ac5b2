#include "classlib/windows/accelerators.h"

#include <type_traits>

namespace {

template <class Char>
bool IsAccelOf(WORD Key, const std::basic_string<Char>& Caption) {
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != Char('&')) continue;
        if (Caption[i + 1] == Char('&')) {
            ++i;
            continue;
        }
        wchar_t mark = static_cast<wchar_t>(static_cast<std::make_unsigned_t<Char>>(Caption[i + 1]));
        if constexpr (sizeof(Char) == 1) {
            char ansi = static_cast<char>(Caption[i + 1]);
            MultiByteToWideChar(CP_ACP, 0, &ansi, 1, &mark, 1);
        }
        // CharUpperW takes a single character in the low word of its argument.
        const auto upper = [](wchar_t c) {
            return static_cast<wchar_t>(
                reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
        };
        return upper(mark) == upper(static_cast<wchar_t>(Key));
    }
    return false;
}

}  // namespace

bool IsAccel(WORD Key, const std::string& Caption) {
    return IsAccelOf(Key, Caption);
}

bool IsAccel(WORD Key, const std::wstring& Caption) {
    return IsAccelOf(Key, Caption);
}

std::string StripHotkey(const std::string& Caption) {
    std::string result;
    result.reserve(Caption.size());
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&') {
            if (i + 1 >= Caption.size()) break;
            ++i;
        }
        result += Caption[i];
    }
    return result;
}
