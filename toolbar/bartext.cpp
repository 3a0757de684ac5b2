#include "toolbar/bartext.h"

#include <cstring>

namespace {

bool IsLead(char C) {
    return IsDBCSLeadByte(static_cast<BYTE>(C)) != 0;
}

// Text without single ampersands, and the index of the character that
// followed the last single one (-1 when none).
std::string StripWithAccel(const std::string& S, int& AccelIndex) {
    std::string out;
    AccelIndex = -1;
    for (size_t i = 0; i < S.size(); ++i) {
        if (IsLead(S[i]) && i + 1 < S.size()) {
            out += S[i];
            out += S[++i];
            continue;
        }
        if (S[i] == '&') {
            if (i + 1 < S.size() && S[i + 1] == '&') {
                out += '&';
                ++i;
                continue;
            }
            if (i + 1 < S.size()) AccelIndex = static_cast<int>(out.size());
            continue;
        }
        out += S[i];
    }
    return out;
}

int TextExtent(HDC DC, const std::string& S) {
    SIZE size{};
    GetTextExtentPoint32A(DC, S.data(), static_cast<int>(S.size()), &size);
    return size.cx;
}

int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM Data) {
    *reinterpret_cast<bool*>(Data) = true;
    return 0;
}

}  // namespace

std::string StripAccelChars(const std::string& S) {
    int accel = -1;
    return StripWithAccel(S, accel);
}

std::string EscapeAmpersands(const std::string& S) {
    std::string out;
    for (size_t i = 0; i < S.size(); ++i) {
        if (IsLead(S[i]) && i + 1 < S.size()) {
            out += S[i];
            out += S[++i];
            continue;
        }
        if (S[i] == '&') out += '&';
        out += S[i];
    }
    return out;
}

std::string StripTrailingPunctuation(const std::string& S) {
    // A trailing byte that is the second half of a double-byte character is
    // no punctuation.
    auto singleByteAt = [&](size_t index) {
        for (size_t i = 0; i < S.size(); ++i) {
            if (i == index) return true;
            if (IsLead(S[i])) {
                if (++i == index) return false;
            }
        }
        return false;
    };
    if (S.size() > 1 && S.back() == ':' && singleByteAt(S.size() - 1)) return S.substr(0, S.size() - 1);
    if (S.size() > 3 && S.compare(S.size() - 3, 3, "...") == 0 && singleByteAt(S.size() - 3))
        return S.substr(0, S.size() - 3);
    return S;
}

char FindAccelChar(const std::string& S) {
    char found = '\0';
    for (size_t i = 0; i < S.size(); ++i) {
        if (IsLead(S[i])) {
            ++i;
            continue;
        }
        if (S[i] != '&') continue;
        if (i + 1 >= S.size()) break;
        if (S[i + 1] == '&') {
            ++i;
            continue;
        }
        found = S[i + 1];
    }
    return found;
}

int GetTextWidth(HDC DC, const std::string& S, bool Prefix) {
    return TextExtent(DC, Prefix ? StripAccelChars(S) : S);
}

int GetTextHeight(HDC DC) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(DC, &metrics);
    return metrics.tmHeight;
}

TFontHandle CreateRotatedFont(HDC DC) {
    LOGFONTA font{};
    HGDIOBJ current = GetCurrentObject(DC, OBJ_FONT);
    if (!current || GetObjectA(current, sizeof font, &font) == 0) return TFontHandle();
    font.lfEscapement = 2700;
    font.lfOrientation = 2700;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    if (lstrcmpiA(font.lfFaceName, "MS Sans Serif") == 0 ||
        lstrcmpiA(font.lfFaceName, "Microsoft Sans Serif") == 0) {
        // Those faces have no TrueType outline to turn.
        TEXTMETRICA metrics{};
        GetTextMetricsA(DC, &metrics);
        font.lfHeight = font.lfHeight > 0 ? metrics.tmHeight : metrics.tmInternalLeading - metrics.tmHeight;
        lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    }
    if (strlen(font.lfFaceName) < 31) {
        char vertical[LF_FACESIZE + 1] = "@";
        lstrcpynA(vertical + 1, font.lfFaceName, LF_FACESIZE - 1);
        bool exists = false;
        EnumFontsA(DC, vertical, FontFound, reinterpret_cast<LPARAM>(&exists));
        if (exists) lstrcpynA(font.lfFaceName, vertical, LF_FACESIZE);
    }
    return TFontHandle(CreateFontIndirectA(&font));
}

void DrawRotatedText(HDC DC, std::string Text, const TRect& Rect, UINT Format) {
    if (Text.empty()) return;
    TFontHandle rotated = CreateRotatedFont(DC);
    TSelectObject selectFont(DC, rotated.Get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(DC, &metrics);
    const int x = Rect.Left + (Rect.Width() - metrics.tmHeight) / 2;
    int accel = -1;
    if (!(Format & DT_NOPREFIX)) Text = StripWithAccel(Text, accel);
    if ((Format & DT_END_ELLIPSIS) && Text.size() > 1 && TextExtent(DC, Text) > Rect.Height()) {
        if (Rect.Height() >= 3) {
            Text.pop_back();
            while (Text.size() >= 2 && TextExtent(DC, Text + "...") > Rect.Height()) Text.pop_back();
        } else {
            Text.resize(1);
        }
        if (accel >= static_cast<int>(Text.size())) accel = -1;
        Text += "...";
    }
    int y = Rect.Top;
    if (Format & DT_CENTER) y += (Rect.Height() - TextExtent(DC, Text)) / 2;
    TSaveDC saved(DC);
    if (!(Format & DT_NOCLIP)) IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    SetTextAlign(DC, TA_BOTTOM);
    TextOutA(DC, x, y, Text.data(), static_cast<int>(Text.size()));
    if (accel >= 0 && !(Format & DT_HIDEPREFIX)) {
        const int before = TextExtent(DC, Text.substr(0, static_cast<size_t>(accel)));
        const int width = TextExtent(DC, Text.substr(static_cast<size_t>(accel), 1));
        TPenHandle pen(CreatePen(PS_SOLID, 1, GetTextColor(DC)));
        TSelectObject selectPen(DC, pen.Get());
        const int lineX = x + metrics.tmDescent - 2;
        MoveToEx(DC, lineX, y + before, nullptr);
        LineTo(DC, lineX, y + before + width);
    }
}
