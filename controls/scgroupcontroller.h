// `TScGroupController`: appearance values shared by several groups. Each
// change is pushed into the same-named property of every linked group;
// pushing waits while an update is open.
#pragma once

#include <vector>

#include "classlib/core/component.h"
#include "classlib/graphics/graphics.h"
#include "controls/scgrouptypes.h"
#include "controls/scstore.h"

class TScGroup;

// Numbers of the pushed properties; 0 pushes all of them.
enum TScGroupControllerProperty {
    gcpAll,
    gcpBorderColor,
    gcpCaptionColor,
    gcpCaptionColorStart,
    gcpCaptionColorStop,
    gcpCaptionFont,
    gcpCaptionHeight,
    gcpCaptionHotColor,
    gcpColor,
    gcpParentColor,
    gcpDividerColor,
    gcpDividerVisible,
    gcpFont,
    gcpParentFont,
    gcpItemHeight,
    gcpItemHotColor,
    gcpItemIndent,
    gcpItemStaticFont,
    gcpSelectionColor,
    gcpSelectionShadowColor,
    gcpSelectionFrameColor,
    gcpShowItemSelection,
    gcpItemSelectionStyle,
    gcpIgnoreSelectedItemClick,
};

class TScGroupController : public TComponent {
    VX_CLASS(TScGroupController, TComponent)
public:
    explicit TScGroupController(TComponent* AOwner);
    void BeforeDestruction() override;

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { Set(borderColor_, Value, gcpBorderColor); }
    TColor CaptionColor() const { return captionColor_; }
    void SetCaptionColor(TColor Value) { Set(captionColor_, Value, gcpCaptionColor); }
    TColor CaptionColorStart() const { return captionColorStart_; }
    void SetCaptionColorStart(TColor Value) { Set(captionColorStart_, Value, gcpCaptionColorStart); }
    TColor CaptionColorStop() const { return captionColorStop_; }
    void SetCaptionColorStop(TColor Value) { Set(captionColorStop_, Value, gcpCaptionColorStop); }
    TFont* CaptionFont() const { return captionFont_.get(); }
    int CaptionHeight() const { return captionHeight_; }
    void SetCaptionHeight(int Value) { Set(captionHeight_, Value < 16 ? 16 : Value, gcpCaptionHeight); }
    TColor CaptionHotColor() const { return captionHotColor_; }
    void SetCaptionHotColor(TColor Value) { Set(captionHotColor_, Value, gcpCaptionHotColor); }
    TColor Color() const { return color_; }
    void SetColor(TColor Value) { Set(color_, Value, gcpColor); }
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    TColor DividerColor() const { return dividerColor_; }
    void SetDividerColor(TColor Value) { Set(dividerColor_, Value, gcpDividerColor); }
    bool DividerVisible() const { return dividerVisible_; }
    void SetDividerVisible(bool Value) { Set(dividerVisible_, Value, gcpDividerVisible); }
    TFont* Font() const { return font_.get(); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool Value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value) { Set(itemHeight_, Value, gcpItemHeight); }
    TColor ItemHotColor() const { return itemHotColor_; }
    void SetItemHotColor(TColor Value) { Set(itemHotColor_, Value, gcpItemHotColor); }
    int ItemIndent() const { return itemIndent_; }
    void SetItemIndent(int Value) { Set(itemIndent_, Value, gcpItemIndent); }
    TFont* ItemStaticFont() const { return itemStaticFont_.get(); }
    TColor SelectionColor() const { return selectionColor_; }
    void SetSelectionColor(TColor Value) { Set(selectionColor_, Value, gcpSelectionColor); }
    TColor SelectionShadowColor() const { return selectionShadowColor_; }
    void SetSelectionShadowColor(TColor Value) { Set(selectionShadowColor_, Value, gcpSelectionShadowColor); }
    TColor SelectionFrameColor() const { return selectionFrameColor_; }
    void SetSelectionFrameColor(TColor Value) { Set(selectionFrameColor_, Value, gcpSelectionFrameColor); }
    bool ShowItemSelection() const { return showItemSelection_; }
    void SetShowItemSelection(bool Value) { Set(showItemSelection_, Value, gcpShowItemSelection); }
    TScItemSelectionStyle ItemSelectionStyle() const { return itemSelectionStyle_; }
    void SetItemSelectionStyle(TScItemSelectionStyle Value) {
        Set(itemSelectionStyle_, Value, gcpItemSelectionStyle);
    }
    bool IgnoreSelectedItemClick() const { return ignoreSelectedItemClick_; }
    void SetIgnoreSelectedItemClick(bool Value) {
        Set(ignoreSelectedItemClick_, Value, gcpIgnoreSelectedItemClick);
    }
    TComponent* RegIniFile() const { return regIniFile_; }
    void SetRegIniFile(TComponent* Value);

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int GroupCount() const { return static_cast<int>(groups_.size()); }

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void Loaded() override;
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TScGroup;
    void AddGroup(TScGroup* Group);
    void RemoveGroup(TScGroup* Group);
    void PushAll(TScGroupControllerProperty Property);
    void Push(TScGroup* Group, TScGroupControllerProperty Property);
    void FontChanged(TObject* Sender);
    template <class T>
    void Set(T& Field, T Value, TScGroupControllerProperty Property) {
        if (StoreChanged(Field, Value)) PushAll(Property);
    }

    TColor borderColor_ = clBtnHighlight;
    TColor captionColor_ = clHighlightText;
    TColor captionColorStart_ = clWindow;
    TColor captionColorStop_ = clBtnFace;
    TOwned<TFont> captionFont_;
    int captionHeight_ = 20;
    TColor captionHotColor_ = clHotLight;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TColor dividerColor_ = clHighlight;
    bool dividerVisible_ = false;
    TOwned<TFont> font_;
    bool parentFont_ = true;
    int itemHeight_ = 20;
    TColor itemHotColor_ = clHotLight;
    int itemIndent_ = 20;
    TOwned<TFont> itemStaticFont_;
    TColor selectionColor_ = clBtnFace;
    TColor selectionShadowColor_ = clBtnShadow;
    TColor selectionFrameColor_ = cl3DDkShadow;
    bool showItemSelection_ = false;
    TScItemSelectionStyle itemSelectionStyle_ = issImageAndCaption;
    bool ignoreSelectedItemClick_ = true;
    TComponent* regIniFile_ = nullptr;
    std::vector<TScGroup*> groups_;
    int updateCount_ = 0;
};
