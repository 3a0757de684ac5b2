// `TZkDesktopAlertButton`: the 21x21 flat button of the desktop alert window
// (close, drop-down, the user's image buttons): a highlight while the mouse
// is inside and a Marlett glyph, a chevron or an image by `ToolType`.
#pragma once

#include "classlib/graphics/imagelist.h"
#include "notify/zkbutton.h"

enum TZkDesktopAlertButtonType {
    abtArrowLeft,
    abtArrowRight,
    abtClose,
    abtMaximize,
    abtMinimize,
    abtDropDown,
    abtDropDownChevron,
    abtRestore,
    abtImage,
};

// The Marlett character of a glyph button and its point size (0: the
// button's own font size); Character 0 for the types drawn otherwise.
struct TZkAlertGlyph {
    char Character;
    int Size;
};
TZkAlertGlyph DesktopAlertGlyph(TZkDesktopAlertButtonType Type);

class TZkDesktopAlertButton : public TZkCustomGraphicButton {
    VX_CLASS(TZkDesktopAlertButton, TZkCustomGraphicButton)
public:
    explicit TZkDesktopAlertButton(TComponent* AOwner);
    void BeforeDestruction() override;

    TZkDesktopAlertButtonType ToolType() const { return toolType_; }
    void SetToolType(TZkDesktopAlertButtonType Value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void Paint() override;
    void MouseEnter(TControl* Control) override;
    void MouseLeave(TControl* Control) override;

private:
    void ImageListChange(TObject* Sender);
    void DrawChevron(TRect R);

    TZkDesktopAlertButtonType toolType_ = abtArrowLeft;
    TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1;
    TOwned<TChangeLink> imageChangeLink_;
};
