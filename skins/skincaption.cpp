#include "skins/skincaption.h"

#include <cwctype>

#include "classlib/core/text.h"
#include "classlib/services/osversion.h"

namespace {

const std::wstring kUtf8Prefix = L"utf8=";

// Restores the canvas brush's style and colour, and the font colour.
class TTextTools {
public:
    explicit TTextTools(TCanvas* canvas)
        : canvas_(canvas),
          style_(canvas->Brush()->Style()),
          brush_(canvas->Brush()->Color()),
          font_(canvas->Font()->Color()) {}
    ~TTextTools() {
        canvas_->Font()->SetColor(font_);
        canvas_->Brush()->SetColor(brush_);
        canvas_->Brush()->SetStyle(style_);
    }
    TTextTools(const TTextTools&) = delete;
    TTextTools& operator=(const TTextTools&) = delete;
    TColor FontColor() const { return font_; }

private:
    TCanvas* canvas_;
    TBrushStyle style_;
    TColor brush_;
    TColor font_;
};

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(HDC dc, const std::wstring& face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &query, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

bool SameFace(const wchar_t* a, const wchar_t* b) {
    return _wcsicmp(a, b) == 0;
}

}  // namespace

std::wstring DecodeCaption(const std::wstring& Caption) {
    if (Caption.compare(0, kUtf8Prefix.size(), kUtf8Prefix) != 0) return Caption;
    // The bytes after the prefix come one per character, or (the usual way,
    // through an 8-bit caption) widened by the system code page, where bytes
    // such as 0x80-0x9F turn into characters far above 0xFF: those go back
    // through the code page to the bytes they were.
    std::string bytes;
    bytes.reserve(Caption.size() - kUtf8Prefix.size());
    for (std::size_t i = kUtf8Prefix.size(); i < Caption.size(); ++i) {
        const wchar_t unit = Caption[i];
        if (unit <= 0xFF) {
            bytes.push_back(static_cast<char>(unit));
            continue;
        }
        char narrow[8] = {};
        BOOL lost = FALSE;
        const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &unit, 1, narrow, sizeof narrow,
                                          nullptr, &lost);
        if (n > 0 && !lost) {
            bytes.append(narrow, static_cast<std::size_t>(n));
        } else {
            // Not from the code page: a real wide character, kept as itself
            // (with its pair when it is a surrogate).
            std::size_t length = 1;
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < Caption.size()) length = 2;
            bytes += WideToUtf8(std::wstring_view(Caption).substr(i, length));
            i += length - 1;
        }
    }
    return Utf8ToWide(bytes);
}

int DrawCaptionText(TCanvas* Canvas, const std::wstring& Caption, TRect& R, UINT Format, TSbGlowKind Glow,
                    TColor GlowColor, int Orientation) {
    if (R.Right <= R.Left || R.Bottom <= R.Top) return 0;
    TTextTools restore(Canvas);
    Canvas->Brush()->SetStyle(bsClear);
    const std::wstring text = DecodeCaption(Caption);
    if (Format & DT_CALCRECT) {
        const int height = Canvas->DrawText(text, R, Format);
        if (Canvas->Font()->Style().Contains(fsItalic)) R.Right += 2 * (Canvas->Font()->Size() / 8) + 1;
        return height;
    }
    if (Glow != sgkNone && GlowColor != clNone) {
        static constexpr POINT kAll[] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        static constexpr POINT kTopLeft[] = {{-1, -1}};
        static constexpr POINT kBottomRight[] = {{1, 1}};
        const POINT* offsets = Glow == sgkAll ? kAll : Glow == sgkTopLeft ? kTopLeft : kBottomRight;
        const int count = Glow == sgkAll ? 4 : 1;
        Canvas->Font()->SetColor(GlowColor);
        for (int i = 0; i < count; ++i) {
            TRect shifted = R;
            shifted.Left += offsets[i].x;
            shifted.Right += offsets[i].x;
            shifted.Top += offsets[i].y;
            shifted.Bottom += offsets[i].y;
            DrawWideText(Canvas, text, shifted, Format, Orientation);
        }
        Canvas->Font()->SetColor(restore.FontColor());
    }
    return DrawWideText(Canvas, text, R, Format, Orientation);
}

TSize GetCaptionTextSize(HDC DC, const std::wstring& Text, bool StripAccelerators) {
    const std::wstring text = StripAccelerators ? StripAccelCharsW(Text) : Text;
    SIZE size{};
    GetTextExtentPoint32W(DC, text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

int DrawWideText(TCanvas* Canvas, const std::wstring& Text, TRect& R, UINT Format, int Orientation) {
    if ((Orientation == SkinTextRotated90 || Orientation == SkinTextRotated270) && !(Format & DT_CALCRECT)) {
        DrawRotatedText(Canvas, Text, R, Format, Orientation);
        return Canvas->TextHeight(Text);
    }
    return Canvas->DrawText(Text, R, Format);
}

TFontHandle CreateRotatedFont(TCanvas* Canvas, int Orientation) {
    LOGFONTW font = Canvas->Font()->LogFont();
    font.lfEscapement = font.lfOrientation = Orientation == SkinTextRotated90 ? 900 : 2700;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    // The old bitmap faces cannot turn.
    if (SameFace(font.lfFaceName, L"MS Sans Serif") || SameFace(font.lfFaceName, L"Microsoft Sans Serif")) {
        const std::wstring face = CheckWin32Version(5, 0) ? L"Tahoma" : L"Arial";
        std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
        face.copy(font.lfFaceName, LF_FACESIZE - 1);
    }
    const std::wstring name = font.lfFaceName;
    if (name.size() < 31 && FaceExists(Canvas->Handle(), L"@" + name)) {
        const std::wstring vertical = L"@" + name;
        std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
        vertical.copy(font.lfFaceName, LF_FACESIZE - 1);
    }
    return TFontHandle(CreateFontIndirectW(&font));
}

void DrawRotatedText(TCanvas* Canvas, const std::wstring& Text, const TRect& R, UINT Format,
                     int Orientation) {
    if (Text.empty()) return;
    HDC dc = Canvas->Handle();
    TFontHandle font = CreateRotatedFont(Canvas, Orientation);
    if (!font) return;
    TSaveDC saved(dc);
    SelectObject(dc, font.Get());
    // Marks out; a doubled mark stays as one "&". The last single mark names
    // the accelerator.
    std::wstring text;
    int accelerator = -1;
    if (Format & DT_NOPREFIX) {
        text = Text;
    } else {
        for (std::size_t i = 0; i < Text.size(); ++i) {
            if (Text[i] == L'&') {
                if (i + 1 < Text.size() && Text[i + 1] == L'&') {
                    text.push_back(L'&');
                    ++i;
                } else if (i + 1 < Text.size()) {
                    accelerator = static_cast<int>(text.size());
                }
                continue;
            }
            text.push_back(Text[i]);
        }
    }
    auto length = [&](const std::wstring& s) { return GetCaptionTextSize(dc, s, false).cx; };
    const int room = R.Bottom - R.Top;
    if ((Format & DT_END_ELLIPSIS) && text.size() > 1 && length(text) > room) {
        while (text.size() > 1 && length(text + L"...") > room) text.pop_back();
        if (accelerator >= static_cast<int>(text.size())) accelerator = -1;
        text += L"...";
    }
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int across = R.Right - R.Left;
    const int along = length(text);
    int x, y;
    if (Orientation == SkinTextRotated90) {
        x = R.Left + (across - metrics.tmHeight) / 2;
        y = (Format & DT_CENTER) ? R.Bottom - (room - along) / 2 : R.Bottom;
    } else {
        x = R.Left + (across + metrics.tmHeight) / 2;
        y = (Format & DT_CENTER) ? R.Top + (room - along) / 2 : R.Top;
    }
    if (!(Format & DT_NOCLIP)) IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    if (accelerator >= 0 && !(Format & DT_HIDEPREFIX)) {
        const int before = length(text.substr(0, static_cast<std::size_t>(accelerator)));
        const int width = length(text.substr(static_cast<std::size_t>(accelerator), 1));
        // The underline runs beside the character, on the baseline side.
        const int line =
            Orientation == SkinTextRotated90 ? x + metrics.tmAscent + 1 : x - metrics.tmAscent - 1;
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, ColorToRGB(Canvas->Font()->Color()));
        if (Orientation == SkinTextRotated90) {
            MoveToEx(dc, line, y - before, nullptr);
            LineTo(dc, line, y - before - width);
        } else {
            MoveToEx(dc, line, y + before, nullptr);
            LineTo(dc, line, y + before + width);
        }
        SelectObject(dc, oldPen);
    }
}

std::wstring StripAccelCharsW(const std::wstring& Text) {
    std::wstring result;
    result.reserve(Text.size());
    for (wchar_t c : Text)
        if (c != L'&') result.push_back(c);
    return result;
}

std::wstring TruncateAtTabW(const std::wstring& Text) {
    return Text.substr(0, Text.find(L'\t'));
}

std::wstring StripTrailingPunctuationW(const std::wstring& Text) {
    const std::size_t n = Text.size();
    if (n > 1 && Text[n - 1] == L':') return Text.substr(0, n - 1);
    if (n > 3 && Text.compare(n - 3, 3, L"...") == 0) return Text.substr(0, n - 3);
    return Text;
}
