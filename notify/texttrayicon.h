// `TTextTrayIcon`: a tray icon that shows a short text, such as a
// temperature: the text is drawn centred into a 16x16 picture, opaque, with
// a transparent background, or merged over a background icon. Every change
// redraws the icon at once.
#pragma once

#include <string>

#include "notify/notifytrayicon.h"

// Where the text sits: offsets from the centred position and the extra
// distance between lines, in pixels.
class TOffsetOptions : public TPersistent {
    VX_CLASS(TOffsetOptions, TPersistent)
public:
    TOffsetOptions() = default;

    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int Value) { Set(offsetX_, Value); }
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int Value) { Set(offsetY_, Value); }
    int LineDistance() const { return lineDistance_; }
    void SetLineDistance(int Value) { Set(lineDistance_, Value); }
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    void Set(int& Field, int Value);

    int offsetX_ = 0;
    int offsetY_ = 0;
    int lineDistance_ = 0;
};

class TTextTrayIcon : public TNotifyTrayIcon {
    VX_CLASS(TTextTrayIcon, TNotifyTrayIcon)
public:
    explicit TTextTrayIcon(TComponent* AOwner);

    // Stops cycling for good, draws the text and makes it the icon. An icon
    // outside the notification area, which nobody sees, is drawn once, when
    // it goes in (ShowIcon).
    void RefreshIcon();
    bool ShowIcon() override;

    TIcon* BackgroundIcon() const { return backgroundIcon_.get(); }
    void SetBackgroundIcon(TIcon* Value);
    // Lines are separated by CR.
    const std::string& Text() const { return text_; }
    void SetText(const std::string& Value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value);
    // clNone: transparent background. The font's own colour draws on its
    // inverse instead.
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    bool Border() const { return border_; }
    void SetBorder(bool Value);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value);
    TOffsetOptions* Options() const { return options_.get(); }
    void SetOptions(TOffsetOptions* Value);

protected:
    bool LoadDefaultIcon() override { return false; }
    virtual bool LoadDefaultBackground() { return false; }
    // Draws the text into the stored 16x16 bitmap.
    virtual void Draw();
    TBitmap* TextBitmap() const { return bitmap_.get(); }
    // The colour behind the text: Color, or the inverse of the font colour
    // when Color is clNone or equals it.
    TColor TextBackground() const;

private:
    void Refresh(TObject*) { RefreshIcon(); }
    void DrawIcon();
    void MakeOpaqueOrTransparentIcon(TIcon* Icon);
    void MergeBitmapWithBackground(TIcon* Icon);

    TOwned<TIcon> backgroundIcon_;
    TOwned<TBitmap> bitmap_;
    TOwned<TFont> font_;
    TOwned<TOffsetOptions> options_;
    std::string text_;
    TColor color_ = clBtnFace;
    bool border_ = false;
    TColor borderColor_ = clBlack;
    TColor textBackground_ = clBtnFace;
    bool undrawn_ = false;
};
