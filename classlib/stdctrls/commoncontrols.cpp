#include "classlib/stdctrls/commoncontrols.h"

#include <atomic>

void InitCommonControlClasses(DWORD Classes) {
    static std::atomic<DWORD> done{0};
    if ((done.load() & Classes) == Classes) return;
    INITCOMMONCONTROLSEX init{sizeof init, Classes};
    if (InitCommonControlsEx(&init)) done |= Classes;
}

int ScreenTextHeight(TFont* Font) {
    TWindowDC screen;
    TSelectObject select(screen.Get(), Font->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    return metrics.tmHeight;
}
