#include "classlib/stdctrls/commoncontrols.h"

#include <atomic>
#include <map>
#include <string>

void InitCommonControlClasses(DWORD Classes) {
    static std::atomic<DWORD> done{0};
    if ((done.load() & Classes) == Classes) return;
    INITCOMMONCONTROLSEX init{sizeof init, Classes};
    if (InitCommonControlsEx(&init)) done |= Classes;
}

int ScreenTextHeight(TFont* Font) {
    // A group box asks at every move of a child; under Wine a screen DC and
    // a font realisation cost far more than the lookup. The screen's fonts
    // do not change while the program runs.
    static std::map<std::wstring, int> heights;
    const LOGFONTW font = Font->LogFont();
    const std::wstring key(reinterpret_cast<const wchar_t*>(&font), sizeof font / sizeof(wchar_t));
    if (auto known = heights.find(key); known != heights.end()) return known->second;
    TWindowDC screen;
    TSelectObject select(screen.Get(), Font->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    heights.emplace(key, metrics.tmHeight);
    return metrics.tmHeight;
}
