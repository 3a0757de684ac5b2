// The option objects of a desktop alert: its five colours, where it appears
// (`TZkDesktopAlertLocation`) and the image buttons under its message
// (`TZkDesktopAlertButtons`). Every change fires the object's OnChange.
#pragma once

#include "classlib/core/collection.h"
#include "classlib/core/delegate.h"
#include "notify/zkalertpaint.h"
#include "notify/zkalertstack.h"

class TZkDesktopAlertChangePersistent : public TPersistent {
    VX_CLASS(TZkDesktopAlertChangePersistent, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (Assigned(OnChange)) OnChange(this);
    }
    template <class T>
    void Store(T& Field, const T& Value) {
        if (Field == Value) return;
        Field = Value;
        Changed();
    }
};

class TZkDesktopAlertColors : public TZkDesktopAlertChangePersistent {
    VX_CLASS(TZkDesktopAlertColors, TZkDesktopAlertChangePersistent)
public:
    // Copies all five colours from another colour object, with one OnChange.
    void Assign(TPersistent* Source) override;

    TColor Frame() const { return values_.Frame; }
    void SetFrame(TColor Value) { Store(values_.Frame, Value); }
    TColor WindowFrom() const { return values_.WindowFrom; }
    void SetWindowFrom(TColor Value) { Store(values_.WindowFrom, Value); }
    TColor WindowTo() const { return values_.WindowTo; }
    void SetWindowTo(TColor Value) { Store(values_.WindowTo, Value); }
    TColor CaptionFrom() const { return values_.CaptionFrom; }
    void SetCaptionFrom(TColor Value) { Store(values_.CaptionFrom, Value); }
    TColor CaptionTo() const { return values_.CaptionTo; }
    void SetCaptionTo(TColor Value) { Store(values_.CaptionTo, Value); }

    const TZkAlertWindowColors& Values() const { return values_; }

private:
    TZkAlertWindowColors values_;
};

class TZkDesktopAlertLocation : public TZkDesktopAlertChangePersistent {
    VX_CLASS(TZkDesktopAlertLocation, TZkDesktopAlertChangePersistent)
public:
    void Assign(TPersistent* Source) override;

    TZkDesktopAlertPosition Position() const { return position_; }
    // Fires OnChange even for the same position.
    void SetPosition(TZkDesktopAlertPosition Value) {
        position_ = Value;
        Changed();
    }
    int Top() const { return top_; }
    void SetTop(int Value) { Store(top_, Value); }
    int Left() const { return left_; }
    void SetLeft(int Value) { Store(left_, Value); }
    // 0: the window's own size.
    int Width() const { return width_; }
    void SetWidth(int Value) { Store(width_, Value); }
    int Height() const { return height_; }
    void SetHeight(int Value) { Store(height_, Value); }
    // Off: a window the user moved stays where the user put it.
    bool AlwaysResetPosition() const { return alwaysResetPosition_; }
    void SetAlwaysResetPosition(bool Value) { Store(alwaysResetPosition_, Value); }

private:
    TZkDesktopAlertPosition position_ = dapBottomRight;
    int top_ = 0, left_ = 0, width_ = 0, height_ = 0;
    bool alwaysResetPosition_ = true;
};

class TZkDesktopAlertButtonItem : public TCollectionItem {
    VX_CLASS(TZkDesktopAlertButtonItem, TCollectionItem)
public:
    explicit TZkDesktopAlertButtonItem(TCollection* Collection) : inherited(Collection) {}
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t Value) { tag_ = Value; }
    // Sender is the alert window's button.
    TNotifyEvent OnClick;

private:
    int imageIndex_ = -1;
    std::intptr_t tag_ = 0;
};

class TZkDesktopAlertButtons : public TOwnedCollection {
    VX_CLASS(TZkDesktopAlertButtons, TOwnedCollection)
public:
    explicit TZkDesktopAlertButtons(TPersistent* AOwner)
        : inherited(AOwner, TZkDesktopAlertButtonItem::ClassInfo()) {}
    TZkDesktopAlertButtonItem* Add() { return static_cast<TZkDesktopAlertButtonItem*>(inherited::Add()); }
    TZkDesktopAlertButtonItem* Items(int Index) const {
        return static_cast<TZkDesktopAlertButtonItem*>(inherited::Items(Index));
    }
};
