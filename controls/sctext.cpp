#include "controls/sctext.h"

#include <cstring>

#include "classlib/services/osversion.h"

TFontHandle CreateRotatedFont(TFont* Font, int Angle) {
    return CreateRotatedFontInTenths(Font, Angle * 10);
}

TFontHandle CreateRotatedFontInTenths(TFont* Font, int Tenths) {
    LOGFONTA font{};
    font.lfHeight = Font->Height();
    font.lfWidth = 0;
    font.lfEscapement = Tenths;
    font.lfOrientation = 0;
    const TFontStyles style = Font->Style();
    font.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style.Contains(fsItalic);
    font.lfUnderline = style.Contains(fsUnderline);
    font.lfStrikeOut = style.Contains(fsStrikeOut);
    font.lfCharSet = Font->Charset();
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = 0;
    font.lfPitchAndFamily = Font->Pitch() == fpVariable ? VARIABLE_PITCH
                            : Font->Pitch() == fpFixed  ? FIXED_PITCH
                                                        : DEFAULT_PITCH;
    std::strncpy(font.lfFaceName, Font->Name().c_str(), LF_FACESIZE - 1);
    return TFontHandle(CreateFontIndirectA(&font));
}

bool IsTrueTypeFont(TFont* Font) {
    TWindowDC screen;
    TSelectObject selected(screen.Get(), Font->Handle());
    TEXTMETRICA metrics{};
    if (!GetTextMetricsA(screen.Get(), &metrics)) return false;
    return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

std::string RemoveAccelerators(const std::string& S) {
    std::string result;
    const int n = static_cast<int>(S.size());
    int i = 0;
    while (i < n - 1) {
        if (S[i] == '&') {
            if (S[i + 1] == '&') {
                result += '&';
                i += 2;
            } else {
                ++i;
            }
            continue;
        }
        result += S[i++];
    }
    if (i == n - 1) result += S[i];
    return result;
}

bool IsWindowsVersion(int V) {
    const TOSVersionInfo os = OSVersion();
    const bool nt = os.Platform == VER_PLATFORM_WIN32_NT;
    const bool nine = os.Platform == VER_PLATFORM_WIN32_WINDOWS;
    switch (V) {
        case 0:
            return nine && os.Major < 5 && os.Minor == 0;
        case 1:
            return nt && os.Major < 5;
        case 2:
            return nine && os.Minor == 10;
        case 3:
            return nine && os.Minor == 90;
        case 4:
            return nt && os.Major == 5 && os.Minor == 0;
        case 5:
            return nt && os.Major == 5 && os.Minor == 1;
        case 6:
            return nt && os.Major == 5 && os.Minor == 2;
        case 7:
            return nt && os.Major == 6 && os.Minor == 0;
        default:
            return false;
    }
}

void RedrawIfVisible(HWND Wnd, const TRect* Rect) {
    if (!Wnd) return;
    RECT box;
    int kind;
    {
        TWindowDC dc(Wnd);
        kind = GetClipBox(dc.Get(), &box);
    }
    if (kind != NULLREGION && kind != ERROR)
        RedrawWindow(Wnd, Rect ? Rect->Win32() : nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void NotifyDesignerModified(TControl*) {}
