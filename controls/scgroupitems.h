// The items of a group-bar group: `TScGroupItem` (a clickable line, or a
// separator when its caption is "-"), their collection `TScGroupItems`, the
// link that ties an item to an action, and `EScGroupBarError`.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/core/collection.h"
#include "classlib/core/exceptions.h"
#include "classlib/graphics/geometry.h"
#include "classlib/graphics/graphics.h"
#include "classlib/windows/actions.h"

class TScGroup;
class TScGroupItem;

VX_DECLARE_EXCEPTION(EScGroupBarError, Exception);

using TScItemEvent = TDelegate<void(TObject* Sender, TScGroupItem* Item)>;

// What measuring an item's text gave, and for which inputs.
struct TScItemMeasure {
    int Generation = -1;
    int Left = 0, Right = 0;
    const TFont* Font = nullptr;
    TFontStyles Style;
    TSize Size;
};

// The item's state while the mouse is at it.
enum TScItemState { isNormal, isHot, isPressed };

class TScGroupItemActionLink : public TActionLink {
    VX_CLASS(TScGroupItemActionLink, TActionLink)
public:
    explicit TScGroupItemActionLink(TObject* AClient) : inherited(AClient) {}

    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsImageIndexLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetCaption(const std::string& Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const std::string& Value) override;
    void SetImageIndex(int Value) override;
    void SetVisible(bool Value) override;
    void SetOnExecute(const TNotifyEvent& Value) override;

protected:
    void AssignClient(TObject* AClient) override;

private:
    TScGroupItem* item_ = nullptr;
};

class TScGroupItem : public TCollectionItem {
    VX_CLASS(TScGroupItem, TCollectionItem)
public:
    explicit TScGroupItem(TCollection* Collection);
    void BeforeDestruction() override;

    // Copies action, caption, indexes, enabled, colours, hint, visibility
    // and OnClick from another item; to an action, its own values.
    void Assign(TPersistent* Source) override;

    // OnClick, else the action; Sender is the item.
    virtual void Click();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    bool IsSeparator() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor Value);
    TFontStyles FontStyle() const { return fontStyle_; }
    void SetFontStyle(TFontStyles Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int DisabledIndex() const { return disabledIndex_; }
    void SetDisabledIndex(int Value);
    int IndentLevel() const { return indentLevel_; }
    void SetIndentLevel(std::uint8_t Value);
    bool Selected() const { return selected_; }
    void SetSelected(bool Value);
    int Tag() const { return tag_; }
    void SetTag(int Value) { tag_ = Value; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& Value) { hint_ = Value; }
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);

    TNotifyEvent OnClick;

    // Whether a value shows what the action gives (and so is not stored).
    enum TActionValue { avCaption, avEnabled, avHint, avImageIndex };
    bool ValueFromAction(TActionValue Value) const;

    // An item with something to run when clicked.
    bool Clickable() const;
    TScGroup* Group() const;

    // Kept by painting and the mouse, read by the hit tests.
    TScItemState State() const { return state_; }
    void SetState(TScItemState Value) { state_ = Value; }
    bool PressedFlag() const { return pressed_; }
    void SetPressedFlag(bool Value) { pressed_ = Value; }
    const TRect& ImageRect() const { return imageRect_; }
    void SetImageRect(const TRect& Value) { imageRect_ = Value; }
    const TRect& CaptionRect() const { return captionRect_; }
    void SetCaptionRect(const TRect& Value) { captionRect_ = Value; }

protected:
    std::string GetDisplayName() const override;
    void DefineProperties(TFiler* Filer) override;
    void AssignTo(TPersistent* Dest) override;

private:
    friend class TScGroupItemActionLink;
    friend class TScGroup;
    // The action's values; while loading only those the user left alone.
    void ActionChange(TObject* Sender, bool CheckDefaults);
    void DoActionChange(TObject* Sender);

    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    TColor fontColor_ = clNone;
    TFontStyles fontStyle_;
    int imageIndex_ = -1;
    int disabledIndex_ = -1;
    std::uint8_t indentLevel_ = 0;
    bool selected_ = false;
    int tag_ = 0;
    std::string hint_;
    TOwned<TScGroupItemActionLink> actionLink_;
    TScItemState state_ = isNormal;
    bool pressed_ = false;
    TRect imageRect_;
    TRect captionRect_;
    TScItemMeasure measure_;
};

class TScGroupItems : public TOwnedCollection {
    VX_CLASS(TScGroupItems, TOwnedCollection)
public:
    explicit TScGroupItems(TScGroup* AGroup);

    TScGroupItem* GetItem(int Index) const { return static_cast<TScGroupItem*>(Items(Index)); }
    TScGroupItem* Add() { return static_cast<TScGroupItem*>(TCollection::Add()); }
    TScGroup* Group() const { return group_; }

protected:
    void Update(TCollectionItem* Item) override;
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
    TScGroup* group_;
};
