#include "classlib/windows/hints.h"

namespace {

template <class S>
S ShortPart(const S& hint) {
    const auto bar = hint.find('|');
    return bar == S::npos ? hint : hint.substr(0, bar);
}

template <class S>
S LongPart(const S& hint) {
    const auto bar = hint.find('|');
    return bar == S::npos ? hint : hint.substr(bar + 1);
}

}  // namespace

std::string GetShortHint(const std::string& Hint) {
    return ShortPart(Hint);
}
std::wstring GetShortHint(const std::wstring& Hint) {
    return ShortPart(Hint);
}
std::string GetLongHint(const std::string& Hint) {
    return LongPart(Hint);
}
std::wstring GetLongHint(const std::wstring& Hint) {
    return LongPart(Hint);
}
