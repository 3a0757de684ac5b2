#include "classlib/graphics/imagelist.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr UINT kDrawingStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
// Paints the brush where the source is white and keeps the destination
// elsewhere: ((D xor P) and S) xor D.
constexpr DWORD kRopDSPDxax = 0x00E20746;

COLORREF ListColor(TColor Color) {
    if (Color == clNone) return CLR_NONE;
    if (Color == clDefault) return CLR_DEFAULT;
    return ColorToRGB(Color);
}

std::uint32_t PixelOf(TColor Color) {
    const COLORREF rgb = ColorToRGB(Color);
    return (std::uint32_t(GetRValue(rgb)) << 16) | (std::uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

// A monochrome bitmap (a device-dependent one, so that blitting it onto colour
// takes the target's text and background colours) from rows of flags.
TBitmapHandle MonochromeBitmap(int Width, int Height, const std::vector<bool>& Set) {
    const int stride = ((Width + 15) / 16) * 2;
    std::vector<BYTE> bits(static_cast<size_t>(stride) * Height, 0);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            if (Set[static_cast<size_t>(y) * Width + x]) bits[y * stride + x / 8] |= BYTE(0x80 >> (x % 8));
    TBitmapHandle bitmap(CreateBitmap(Width, Height, 1, 1, bits.data()));
    if (!bitmap) throw EOutOfResources("Out of system resources");
    return bitmap;
}

// What the image list is given: the picture cut to whole cells as a 32-bit
// copy, its background pixels black (the list's masked blit expects that),
// and the mask (set = background). Pixels the picture does not cover are
// background.
struct TCells {
    TOwned<TBitmap> image;
    TBitmapHandle mask;
};

template <class IsBackground>
TCells MakeCells(TBitmap* Source, int Width, int Height, int Count, IsBackground isBackground) {
    TCells cells{TOwned<TBitmap>(Create<TBitmap>()), {}};
    const int width = Width * Count;
    cells.image->SetSize(width, Height);
    const int coveredWidth = std::min(width, Source->Width());
    const int coveredHeight = std::min(Height, Source->Height());
    std::vector<bool> background(static_cast<size_t>(width) * Height, true);
    for (int y = 0; y < Height; ++y) {
        auto* row = static_cast<std::uint32_t*>(cells.image->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            bool clear = true;
            if (x < coveredWidth && y < coveredHeight) {
                const TColor color = Source->PixelColor(x, y);
                clear = isBackground(x, y, color);
                row[x] = clear ? 0 : PixelOf(color);
            } else {
                row[x] = 0;
            }
            background[static_cast<size_t>(y) * width + x] = clear;
        }
    }
    cells.mask = MonochromeBitmap(width, Height, background);
    return cells;
}

bool Usable(TBitmap* Image) {
    return Image && !Image->Empty();
}

TCells CellsWithMask(TBitmap* Image, TBitmap* Mask, int Width, int Height, int Count) {
    if (!Usable(Mask)) return MakeCells(Image, Width, Height, Count, [](int, int, TColor) { return false; });
    return MakeCells(Image, Width, Height, Count, [Mask](int x, int y, TColor) {
        return x >= Mask->Width() || y >= Mask->Height() || Mask->PixelColor(x, y) == clWhite;
    });
}

}  // namespace

void TChangeLink::BeforeDestruction() {
    SetSender(nullptr);
    inherited::BeforeDestruction();
}

void TChangeLink::SetSender(TCustomImageList* Value) {
    if (Value == sender_) return;
    if (sender_) sender_->UnRegisterChanges(this);
    if (Value) Value->RegisterChanges(this);
}

void TChangeLink::Change() {
    if (Assigned(OnChange)) OnChange(sender_);
}

TCustomImageList::TCustomImageList(int AWidth, int AHeight) : inherited(nullptr) {
    if (AWidth < 1 || AHeight < 1) throw EInvalidOperation("Invalid image size");
    width_ = AWidth;
    height_ = AHeight;
}

void TCustomImageList::BeforeDestruction() {
    while (!links_.empty()) UnRegisterChanges(links_.back());
    inherited::BeforeDestruction();
}

HIMAGELIST TCustomImageList::Handle() {
    return NeedHandle();
}

HIMAGELIST TCustomImageList::NeedHandle() {
    if (!handle_) {
        handle_.Reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 0, 4));
        if (!handle_) throw EOutOfResources("Out of system resources");
        ImageList_SetBkColor(handle_.Get(), ListColor(bkColor_));
    }
    return handle_.Get();
}

void TCustomImageList::SetSize(int AWidth, int AHeight) {
    if (AWidth < 1 || AHeight < 1) throw EInvalidOperation("Invalid image size");
    if (AWidth == width_ && AHeight == height_) return;
    width_ = AWidth;
    height_ = AHeight;
    // Setting the size drops every image.
    if (handle_) ImageList_SetIconSize(handle_.Get(), width_, height_);
    Change();
}

int TCustomImageList::Count() const {
    return handle_ ? ImageList_GetImageCount(handle_.Get()) : 0;
}

void TCustomImageList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
    if (!Usable(Image)) return -1;
    const int count = std::max(1, Image->Width() / width_);
    TCells cells = CellsWithMask(Image, Mask, width_, height_, count);
    const int index = ImageList_Add(NeedHandle(), cells.image->Handle(), cells.mask.Get());
    if (index >= 0) Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    if (!Usable(Image)) return -1;
    const int count = std::max(1, Image->Width() / width_);
    const TColor key = MaskColor == clNone ? clNone : static_cast<TColor>(ColorToRGB(MaskColor));
    TCells cells = MakeCells(Image, width_, height_, count,
                             [key](int, int, TColor color) { return key != clNone && color == key; });
    const int index = ImageList_Add(NeedHandle(), cells.image->Handle(), cells.mask.Get());
    if (index >= 0) Change();
    return index;
}

int TCustomImageList::AddIcon(TIcon* Image) {
    if (!Image || Image->Empty()) return -1;
    const int index = ImageList_AddIcon(NeedHandle(), Image->Handle());
    if (index >= 0) Change();
    return index;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
    CheckIndex(Index);
    if (!Usable(Image)) throw EInvalidOperation("Unable to replace image");
    TCells cells = CellsWithMask(Image, Mask, width_, height_, 1);
    if (!ImageList_Replace(handle_.Get(), Index, cells.image->Handle(), cells.mask.Get()))
        throw EInvalidOperation("Unable to replace image");
    Change();
}

void TCustomImageList::ReplaceIcon(int Index, TIcon* Image) {
    CheckIndex(Index);
    if (!Image || Image->Empty() || ImageList_ReplaceIcon(handle_.Get(), Index, Image->Handle()) < 0)
        throw EInvalidOperation("Unable to replace image");
    Change();
}

void TCustomImageList::Delete(int Index) {
    // -1 would empty the whole list.
    CheckIndex(Index);
    ImageList_Remove(handle_.Get(), Index);
    Change();
}

void TCustomImageList::Clear() {
    if (handle_) ImageList_Remove(handle_.Get(), -1);
    Change();
}

bool TCustomImageList::GetIcon(int Index, TIcon* Image) {
    if (!Image || Index < 0 || Index >= Count()) return false;
    HICON icon = ImageList_GetIcon(handle_.Get(), Index, kDrawingStyles[drawingStyle_]);
    if (!icon) return false;
    Image->SetHandle(icon);
    return true;
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
    if (!Image || Index < 0 || Index >= Count()) return false;
    Image->SetSize(width_, height_);
    ImageList_DrawEx(handle_.Get(), Index, Image->Canvas()->Handle(), 0, 0, 0, 0, ListColor(bkColor_),
                     CLR_DEFAULT, ILD_NORMAL);
    return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
    if (!Canvas || Index < 0 || Index >= Count()) return;
    HDC target = Canvas->Handle();
    if (Enabled)
        ImageList_DrawEx(handle_.Get(), Index, target, X, Y, 0, 0, ListColor(bkColor_), CLR_DEFAULT,
                         kDrawingStyles[drawingStyle_]);
    else
        DrawDisabled(target, X, Y, Index);
}

void TCustomImageList::DrawDisabled(HDC Target, int X, int Y, int Index) {
    // The image drawn once over white and once over black: a pixel that
    // comes out the same both times is the image's own, and it is ink
    // unless it is white.
    TOwned<TBitmap> overWhite(Create<TBitmap>());
    TOwned<TBitmap> overBlack(Create<TBitmap>());
    overWhite->SetSize(width_, height_);
    overBlack->SetSize(width_, height_);
    PatBlt(overBlack->Canvas()->Handle(), 0, 0, width_, height_, BLACKNESS);
    ImageList_DrawEx(handle_.Get(), Index, overWhite->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE,
                     ILD_NORMAL);
    ImageList_DrawEx(handle_.Get(), Index, overBlack->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE,
                     ILD_NORMAL);
    std::vector<bool> paper(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        const auto* white = static_cast<const std::uint32_t*>(overWhite->ScanLine(y));
        const auto* black = static_cast<const std::uint32_t*>(overBlack->ScanLine(y));
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t pixel = white[x] & 0xFFFFFF;
            paper[static_cast<size_t>(y) * width_ + x] = pixel != (black[x] & 0xFFFFFF) || pixel == 0xFFFFFF;
        }
    }
    // Ink is 0 in the mask; with text white and background black it blits
    // as white, where the brush is painted.
    TBitmapHandle mask = MonochromeBitmap(width_, height_, paper);
    TMemoryDC source;
    TSelectObject selectMask(source.Get(), mask.Get());
    TBrushHandle highlight(CreateSolidBrush(ColorToRGB(clBtnHighlight)));
    TBrushHandle shadow(CreateSolidBrush(ColorToRGB(clBtnShadow)));
    TSaveDC saved(Target);
    ::SetTextColor(Target, RGB(255, 255, 255));
    ::SetBkColor(Target, RGB(0, 0, 0));
    SelectObject(Target, highlight.Get());
    BitBlt(Target, X + 1, Y + 1, width_, height_, source.Get(), 0, 0, kRopDSPDxax);
    SelectObject(Target, shadow.Get());
    BitBlt(Target, X, Y, width_, height_, source.Get(), 0, 0, kRopDSPDxax);
}

void TCustomImageList::SetBkColor(TColor Value) {
    if (Value == bkColor_) return;
    bkColor_ = Value;
    if (handle_) ImageList_SetBkColor(handle_.Get(), ListColor(bkColor_));
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
    if (Value == drawingStyle_) return;
    drawingStyle_ = Value;
    Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
    if (!Value || Value->sender_ == this) return;
    // A link watches one list: leaving the old one keeps that list from
    // calling a link that may be freed through this one.
    if (Value->sender_) Value->sender_->UnRegisterChanges(Value);
    Value->sender_ = this;
    links_.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
    const auto found = std::find(links_.begin(), links_.end(), Value);
    if (found == links_.end()) return;
    links_.erase(found);
    Value->sender_ = nullptr;
}

void TCustomImageList::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && changed_) Change();
}

void TCustomImageList::Change() {
    if (updateCount_ > 0) {
        changed_ = true;
        return;
    }
    changed_ = false;
    // A handler may take links off (its own or others'): each link is called
    // only while it is still registered.
    const std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
    if (Assigned(OnChange)) OnChange(this);
}
