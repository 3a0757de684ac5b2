// Image lists: `TCustomImageList`/`TImageList` keep same-sized images with
// masks in a common-controls image list (made on demand, 32-bit colour with
// masks) and draw them enabled or greyed; `TChangeLink` lets a control hear
// of every change to a list it shows.
#pragma once

#include <utility>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/graphics/bitmap.h"

class TCustomImageList;

// Owns one common-controls image list (ImageList_Destroy); counted with the
// GDI objects, since it holds the bitmaps of its images.
class TImageListHandle {
public:
    TImageListHandle() = default;
    explicit TImageListHandle(HIMAGELIST handle) : handle_(handle) {
        if (handle_) classlib_detail::CountGdi(1);
    }
    TImageListHandle(const TImageListHandle&) = delete;
    TImageListHandle& operator=(const TImageListHandle&) = delete;
    ~TImageListHandle() { Reset(); }
    HIMAGELIST Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(HIMAGELIST handle = nullptr) {
        if (handle_ == handle) return;
        if (handle_) {
            ImageList_Destroy(handle_);
            classlib_detail::CountGdi(-1);
        }
        handle_ = handle;
        if (handle_) classlib_detail::CountGdi(1);
    }

private:
    HIMAGELIST handle_ = nullptr;
};

// Watches one image list: OnChange (Sender = the list) fires on each change.
// Freeing the link takes it off its list.
class TChangeLink : public TObject {
    VX_CLASS(TChangeLink, TObject)
public:
    void BeforeDestruction() override;

    TCustomImageList* Sender() const { return sender_; }
    // Moves the link: off its list, onto Value (null: onto none).
    void SetSender(TCustomImageList* Value);
    virtual void Change();

    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* sender_ = nullptr;
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

class TCustomImageList : public TComponent {
    VX_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* AOwner) : inherited(AOwner) {}
    // CreateSize: an unowned list of AWidth x AHeight images.
    TCustomImageList(int AWidth, int AHeight);
    void BeforeDestruction() override;

    // The image list, made on first use.
    HIMAGELIST Handle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    // Changing the size empties the list. Raises EInvalidOperation
    // ("Invalid image size") below 1.
    int Width() const { return width_; }
    void SetWidth(int Value) { SetSize(Value, height_); }
    int Height() const { return height_; }
    void SetHeight(int Value) { SetSize(width_, Value); }
    void SetSize(int AWidth, int AHeight);

    int Count() const;

    // Adds Image (one image per Width() columns, at least one; uncovered
    // parts of the last cell show the background). Mask: white shows the
    // background, any other colour the image; null: the whole image shows.
    // Answers the index of the first new image, -1 when nothing was added
    // (a null or empty image). The caller's bitmaps are left as they were.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Pixels of MaskColor show the background; clNone: none does.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Image);
    // Raise EInvalidOperation ("Invalid ImageList Index") for an index that
    // is not in the list.
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceIcon(int Index, TIcon* Image);
    void Delete(int Index);
    void Clear();

    // Image Index as a new icon for Image; false (Image untouched) when there
    // is no such image.
    bool GetIcon(int Index, TIcon* Image);
    // Image Index drawn over Image after Image is made Width x Height (a
    // resized bitmap keeps its content, new area white), as Draw does.
    bool GetBitmap(int Index, TBitmap* Image);
    // Draws image Index at (X, Y) in DrawingStyle over BkColor; a disabled
    // image is drawn greyed: its non-white pixels in the button shadow
    // colour with a highlight edge one pixel below and right. An index that
    // is not in the list draws nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);

    // clNone: the background shows through masked pixels; a colour fills them.
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor Value);
    // dsFocus and dsSelected blend the image with the highlight colour.
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle Value);

    // Every change is told to each link, then to OnChange.
    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);
    // Changes between BeginUpdate and the last EndUpdate are told once, at
    // the end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    HIMAGELIST NeedHandle();
    void CheckIndex(int Index) const;
    void DrawDisabled(HDC Target, int X, int Y, int Index);

    int width_ = 16;
    int height_ = 16;
    TColor bkColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    TImageListHandle handle_;
    std::vector<TChangeLink*> links_;
    int updateCount_ = 0;
    bool changed_ = false;
};

class TImageList : public TCustomImageList {
    VX_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* AOwner) : inherited(AOwner) {}
    TImageList(int AWidth, int AHeight) : inherited(AWidth, AHeight) {}
};
