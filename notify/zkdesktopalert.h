// `TZkDesktopAlert`: the component through which the program raises a desktop
// alert. It owns one alert window, forwards texts, fonts, image and menus to
// it, and `Execute` places, styles and shows it without taking the focus.
// With `AutoFree` the alert frees itself (and its window) once it closed.
#pragma once

#include <memory>
#include <vector>

#include "classlib/graphics/imagelist.h"
#include "classlib/graphics/picture.h"
#include "notify/zkalertstack.h"
#include "notify/zkalertstyle.h"
#include "notify/zkcommondialog.h"
#include "notify/zkdesktopalertform.h"
#include "notify/zkdesktopalertoptions.h"

enum TZkAlertStyle { asFade, asCenterGrow };
enum TZkDesktopAlertOption { daoCanClick, daoCanMove, daoCanMoveAnywhere, daoCanClose };
using TZkDesktopAlertOptions = TSet<TZkDesktopAlertOption>;

class TZkDesktopAlert : public TZkCommonDialogP {
    VX_CLASS(TZkDesktopAlert, TZkCommonDialogP)
public:
    explicit TZkDesktopAlert(TComponent* AOwner);
    void BeforeDestruction() override;

    // Shows the alert; always true. An AutoFree alert that has closed has
    // no window left and shows nothing.
    bool Execute() override;

    // Null while the process-wide stack is in use.
    TZkDesktopAlertStack* AlertStack() const { return alertStack_; }
    void SetAlertStack(TZkDesktopAlertStack* Value);
    TZkAlertStyle AlertStyle() const { return alertStyle_; }
    void SetAlertStyle(TZkAlertStyle Value);
    bool AutoFocus() const { return autoFocus_; }
    void SetAutoFocus(bool Value) { autoFocus_ = Value; }
    bool AutoFree() const { return autoFree_; }
    void SetAutoFree(bool Value) { autoFree_ = Value; }
    TZkDesktopAlertOptions Options() const { return options_; }
    // Without daoCanMove there is no daoCanMoveAnywhere either.
    void SetOptions(TZkDesktopAlertOptions Value);
    TZkDesktopAlertColors* Colors() const { return colors_.get(); }
    void SetColors(TZkDesktopAlertColors* Value) { colors_->Assign(Value); }
    TZkDesktopAlertLocation* Location() const { return location_.get(); }
    void SetLocation(TZkDesktopAlertLocation* Value) { location_->Assign(Value); }
    TZkDesktopAlertButtons* Buttons() const { return buttons_.get(); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);
    TZkCustomDesktopAlertStyleHandler* StyleOptions() const { return styleHandler_.get(); }
    void SetStyleOptions(TZkCustomDesktopAlertStyleHandler* Value) { styleHandler_->Assign(Value); }

    // Forwarded to the window; without one (an AutoFree alert that closed)
    // the setters do nothing and the getters answer empty.
    std::string HeaderText() const;
    void SetHeaderText(const std::string& Value);
    std::string MessageText() const;
    void SetMessageText(const std::string& Value);
    TFont* HeaderFont() const;
    void SetHeaderFont(TFont* Value);
    TFont* Font() const;
    void SetFont(TFont* Value);
    TPicture* Image() const;
    void SetImage(TPicture* Value);
    TPopupMenu* DropDownMenu() const;
    void SetDropDownMenu(TPopupMenu* Value);
    TPopupMenu* PopupMenu() const;
    void SetPopupMenu(TPopupMenu* Value);
    std::string Hint() const;
    void SetHint(const std::string& Value);
    bool ShowHint() const;
    void SetShowHint(bool Value);
    bool ParentFont() const;
    void SetParentFont(bool Value);
    TNotifyEvent OnCloseButtonClick() const;
    void SetOnCloseButtonClick(const TNotifyEvent& Value);

    // The alert's window, null once an AutoFree alert has closed.
    TZkFormDesktopAlert* Window() const { return window_; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnShowing;
    TNotifyEvent OnShow;
    TNotifyEvent OnShown;
    TNotifyEvent OnClose;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnMessageClick;

private:
    TZkDesktopAlertStack* CurrentStack() const;
    void LocationChanged(TObject* Sender);
    TRect ReferenceRect(TZkDesktopAlertPosition Position) const;
    void PlaceWindow();
    void MakeImageButtons();
    // Runs Action with the end animation held off, then ends the alert
    // unless the mouse is on it.
    template <class F>
    void WithEndHeld(F Action);

    void WindowShowing(TObject* Sender);
    void WindowShow(TObject* Sender);
    void WindowShown(TObject* Sender);
    void WindowClose(TObject* Sender, TCloseAction& Action);
    void WindowMouseEnter(TObject* Sender);
    void WindowMouseLeave(TObject* Sender);
    void WindowUserMoved(TObject* Sender);
    void MessageClick(TObject* Sender);
    void ImageButtonClick(TObject* Sender);

    TOwned<TZkDesktopAlertColors> colors_;
    TOwned<TZkDesktopAlertButtons> buttons_;
    TOwned<TZkDesktopAlertLocation> location_;
    TOwned<TZkCustomDesktopAlertStyleHandler> styleHandler_;
    TZkFormDesktopAlert* window_ = nullptr;
    TZkDesktopAlertStack* alertStack_ = nullptr;
    TCustomImageList* images_ = nullptr;
    TZkAlertStyle alertStyle_ = asFade;
    TZkDesktopAlertOptions options_{daoCanClick, daoCanMove, daoCanMoveAnywhere, daoCanClose};
    bool autoFocus_ = false;
    bool autoFree_ = false;
    // Execute closes a shown window before showing it again: no self-release.
    bool reshowing_ = false;
    // A move by the user makes this alert custom, not every alert.
    bool userMoving_ = false;
    bool syncingLocation_ = false;
    struct ImageButton {
        TZkDesktopAlertButton* Button;
        TNotifyEvent OnClick;
    };
    std::vector<ImageButton> imageButtons_;
    // False once the alert is being freed: a click handler may free it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
