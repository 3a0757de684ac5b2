// `TScBitBtn`: a styled button with a glyph, a bitmap of up to four cells
// (up, disabled, down, stuck down) or an image-list entry, placed beside,
// above or below the caption; and the standard kinds with their glyphs,
// captions and modal results.
#pragma once

#include "classlib/graphics/imagelist.h"
#include "classlib/stdctrls/speedbutton.h"
#include "controls/scbutton.h"
#include "controls/scglyphs.h"

class TScBitBtn : public TScButton {
    VX_CLASS(TScBitBtn, TScButton)
public:
    explicit TScBitBtn(TComponent* AOwner);
    void BeforeDestruction() override;

    TBitmap* Glyph() const { return glyph_.get(); }
    // Copies Value; the glyph count follows its shape.
    virtual void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return numGlyphs_; }
    virtual void SetNumGlyphs(int Value);
    TButtonLayout Layout() const { return layout_; }
    virtual void SetLayout(TButtonLayout Value);
    int Margin() const { return margin_; }
    virtual void SetMargin(int Value);
    int Spacing() const { return spacing_; }
    virtual void SetSpacing(int Value);
    TCustomImageList* Images() const { return images_; }
    virtual void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    virtual void SetImageIndex(int Value);
    int DisabledIndex() const { return disabledIndex_; }
    virtual void SetDisabledIndex(int Value);
    // bkCustom once Default, Cancel, ModalResult or the glyph no longer
    // match the kind that was set.
    TBitBtnKind Kind() const;
    virtual void SetKind(TBitBtnKind Value);

    // Where the glyph goes and which cell of it shows, as painted now.
    TSize GlyphSize() const;
    TRect GlyphRect();
    int GlyphCell() const;

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void PaintGlyph(TCanvas* Canvas) override;
    TRect GetCaptionRect() override;

private:
    void GlyphChanged(TObject* Sender);
    void ActionChanged(TObject* Sender, bool CheckDefaults);
    void ImagesChanged(TObject* Sender);
    TSize CaptionSize();

    TOwned<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = 2;
    int spacing_ = 4;
    TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1;
    int disabledIndex_ = -1;
    TBitBtnKind kind_ = bkCustom;
    bool customGlyph_ = false;
    bool settingKindGlyph_ = false;
    TOwned<TChangeLink> imageLink_;
};
