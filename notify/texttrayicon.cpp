#include "notify/texttrayicon.h"

#include <cstdint>
#include <vector>

#include "classlib/graphics/handles.h"
#include "classlib/graphics/imagelist.h"

namespace {

constexpr int kSize = 16;

// A colour as a 32-bit bitmap holds it.
std::uint32_t PixelOf(TColor Color) {
    const COLORREF rgb = ColorToRGB(Color);
    return (std::uint32_t(GetRValue(rgb)) << 16) | (std::uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

std::vector<std::string> SplitLines(const std::string& Text) {
    std::vector<std::string> lines(1);
    for (char c : Text) {
        if (c == '\r')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

}  // namespace

void TOffsetOptions::Set(int& Field, int Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
}

void TOffsetOptions::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TOffsetOptions::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TOffsetOptions*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    SetOffsetX(source->OffsetX());
    SetOffsetY(source->OffsetY());
    SetLineDistance(source->LineDistance());
}

TTextTrayIcon::TTextTrayIcon(TComponent* AOwner)
    : TNotifyTrayIcon(AOwner),
      backgroundIcon_(Create<TIcon>()),
      bitmap_(Create<TBitmap>()),
      font_(Create<TFont>()),
      options_(Create<TOffsetOptions>()) {
    font_->OnChange = TNotifyEvent(this, &TTextTrayIcon::Refresh);
    options_->OnChange = TNotifyEvent(this, &TTextTrayIcon::Refresh);
}

void TTextTrayIcon::SetBackgroundIcon(TIcon* Value) {
    backgroundIcon_->Assign(Value);
    RefreshIcon();
}

void TTextTrayIcon::SetText(const std::string& Value) {
    text_ = Value;
    RefreshIcon();
}

void TTextTrayIcon::SetFont(TFont* Value) {
    font_->Assign(Value);
    RefreshIcon();
}

void TTextTrayIcon::SetColor(TColor Value) {
    color_ = Value;
    RefreshIcon();
}

void TTextTrayIcon::SetBorder(bool Value) {
    border_ = Value;
    RefreshIcon();
}

void TTextTrayIcon::SetBorderColor(TColor Value) {
    borderColor_ = Value;
    RefreshIcon();
}

void TTextTrayIcon::SetOptions(TOffsetOptions* Value) {
    options_->Assign(Value);
    RefreshIcon();
}

TColor TTextTrayIcon::TextBackground() const {
    if (color_ == clNone || color_ == font_->Color())
        return static_cast<TColor>(ColorToRGB(font_->Color()) ^ 0xFFFFFF);
    return color_;
}

void TTextTrayIcon::Draw() {
    // One bitmap for every drawing: a new one costs Wine a section, a device
    // context and the font's selection each time.
    bitmap_->SetSize(kSize, kSize);
    TCanvas* canvas = bitmap_->Canvas();
    textBackground_ = TextBackground();
    canvas->Brush()->SetColor(textBackground_);
    canvas->FillRect(TRect(0, 0, kSize, kSize));
    canvas->SetFont(font_.get());
    // Integer division truncates toward zero, as the positions are defined.
    if (text_.find('\r') != std::string::npos) {
        const std::vector<std::string> lines = SplitLines(text_);
        const int lineHeight = canvas->TextHeight(text_) + options_->LineDistance();
        const int top = (15 - static_cast<int>(lines.size()) * lineHeight) / 2 + options_->OffsetY();
        for (size_t i = 0; i < lines.size(); ++i) {
            const int x = (15 - canvas->TextWidth(lines[i])) / 2 + options_->OffsetX();
            canvas->TextOut(x, lineHeight * static_cast<int>(i) + top, lines[i]);
        }
    } else {
        const int x = (15 - canvas->TextWidth(text_)) / 2 + options_->OffsetX();
        const int y = (15 - canvas->TextHeight(text_)) / 2 + options_->OffsetY();
        canvas->TextOut(x, y, text_);
    }
    if (border_) {
        canvas->Brush()->SetColor(borderColor_);
        canvas->FrameRect(TRect(0, 0, kSize, kSize));
    }
}

void TTextTrayIcon::MakeOpaqueOrTransparentIcon(TIcon* Icon) {
    // What a 16x16 image list makes of the bitmap added with the mask colour
    // (the mask set and the picture black where the bitmap has that colour),
    // made straight into an icon: the list's way costs Wine as much again
    // as the drawing.
    const bool masked = color_ == clNone;
    const std::uint32_t key = PixelOf(textBackground_);
    TOwned<TBitmap> picture(Create<TBitmap>());
    picture->SetSize(kSize, kSize);
    BYTE maskBits[kSize * 2] = {};  // rows of 16 pixels, word-aligned
    for (int y = 0; y < kSize; ++y) {
        const auto* source = static_cast<const std::uint32_t*>(bitmap_->ScanLine(y));
        auto* target = static_cast<std::uint32_t*>(picture->ScanLine(y));
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t pixel = source[x] & 0xFFFFFF;
            const bool clear = masked && pixel == key;
            target[x] = clear ? 0 : pixel;
            if (clear) maskBits[y * 2 + x / 8] |= BYTE(0x80 >> (x % 8));
        }
    }
    TBitmapHandle mask(CreateBitmap(kSize, kSize, 1, 1, maskBits));
    ICONINFO info{TRUE, 0, 0, mask.Get(), picture->Handle()};
    Icon->SetHandle(CreateIconIndirect(&info));
}

void TTextTrayIcon::MergeBitmapWithBackground(TIcon* Icon) {
    TOwned<TCustomImageList> list(Create<TCustomImageList>(kSize, kSize));
    list->AddIcon(backgroundIcon_.get());
    const TColor merge = TextBackground();
    TOwned<TBitmap> merged(Create<TBitmap>());
    merged->SetSize(kSize, kSize);
    merged->Canvas()->Brush()->SetColor(merge);
    merged->Canvas()->FillRect(TRect(0, 0, kSize, kSize));
    list->Draw(merged->Canvas(), 0, 0, 0);
    bitmap_->SetTransparentColor(textBackground_);
    bitmap_->SetTransparent(true);
    merged->Canvas()->Draw(0, 0, bitmap_.get());
    list->AddMasked(merged.get(), merge);
    list->GetIcon(1, Icon);
}

void TTextTrayIcon::RefreshIcon() {
    SetCycleIcons(false);
    // Under Wine a drawing costs about a tenth of the shell's add; an icon
    // set up before it is shown would be drawn once per property.
    if (!InNotificationArea()) {
        undrawn_ = true;
        return;
    }
    DrawIcon();
}

bool TTextTrayIcon::ShowIcon() {
    if (undrawn_) DrawIcon();
    return inherited::ShowIcon();
}

void TTextTrayIcon::DrawIcon() {
    undrawn_ = false;
    Draw();
    // The new icon's handle is handed over, not copied (a copy costs Wine
    // more than the drawing); the tray icon frees the one it replaces.
    TOwned<TIcon> icon(Create<TIcon>());
    if (backgroundIcon_->Empty())
        MakeOpaqueOrTransparentIcon(icon.get());
    else
        MergeBitmapWithBackground(icon.get());
    // Its change handler hands the new icon to the shell.
    Icon()->SetHandle(icon->ReleaseHandle());
}
