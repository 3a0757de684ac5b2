// The control tree: `TControl` (bounds, alignment, text, colour, font, mouse
// and the message chain), `TWinControl` (a window made on demand, children,
// focus, painting), `TGraphicControl` (painted by its parent) and
// `TCustomControl` (a window with a canvas and `Paint`).
#pragma once

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/geometry.h"
#include "classlib/graphics/graphics.h"
#include "classlib/windows/messages.h"

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground,
};
using TControlStyle = TSet<TControlStyleFlag>;

enum TControlStateFlag {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
};
using TControlState = TSet<TControlStateFlag>;

using TCursor = short;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

using TMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TDelegate<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TDelegate<void(TObject* Sender, char& Key)>;
using TContextPopupEvent = TDelegate<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Shows a popup menu for a control at a screen point; set by the menu unit,
// so that controls can carry a PopupMenu without depending on it.
using TPopupMenuShowProc = bool (*)(TPopupMenu* Menu, TControl* Control, TPoint ScreenPos);
extern TPopupMenuShowProc PopupMenuShowProc;
// Offers a key message (WM_KEYDOWN, WM_SYSKEYDOWN) to a popup menu's
// shortcuts, true when an item has the key; set by the menu unit too.
using TPopupMenuShortCutProc = bool (*)(TPopupMenu* Menu, TMessage& Message);
extern TPopupMenuShortCutProc PopupMenuShortCutProc;

// Publishes the control properties that form streams read and write; the
// first control constructed calls it.
void PublishControlProperties();

class TControl : public TComponent {
    VX_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    void BeforeDestruction() override;

    // --- messages
    // Sends Message through the WindowProc chain: the newest link first, the
    // class's WndProc last.
    void WindowProc(TMessage& Message);
    // A link receives every message before the links added before it and the
    // WndProc; it passes a message on by calling Next. Links may be removed
    // in any order, even from inside a message.
    class TWindowProcNext;
    using TWindowProcLink = TDelegate<void(TMessage& Message, const TWindowProcNext& Next)>;
    void AddWindowProcLink(const TWindowProcLink& Link);
    void RemoveWindowProcLink(const TWindowProcLink& Link);
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // The class's own handling, without the WindowProc links.
    void Dispatch(TMessage& Message) { WndProc(Message); }
    virtual void WndProc(TMessage& Message);
    // What happens to a message nobody handled.
    virtual void DefaultHandler(TMessage& Message);

    // --- tree and geometry
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);
    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return true; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
    void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
    void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
    void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Right; }
    int ClientHeight() { return ClientRect().Bottom; }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(TPoint Point);
    TPoint ScreenToClient(TPoint Point);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors Value);

    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a shown top-level window.
    virtual bool Showing() const;
    virtual bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool Value);

    // --- text, colour, font, cursor, hint
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& Value);
    // The caption in UTF-16, for captions the system code page cannot hold.
    std::wstring WideCaption() const { return GetWideText(); }
    void SetWideCaption(const std::wstring& Value) { SetWideText(Value); }
    virtual std::wstring GetWideText() const { return text_; }
    virtual void SetWideText(const std::wstring& Value);
    std::string GetText() const;

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool Value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    std::string Hint() const;
    void SetHint(const std::string& Value) { SetWideHint(ToWideHint(Value)); }
    const std::wstring& WideHint() const { return hint_; }
    void SetWideHint(const std::wstring& Value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool Value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    // A template so that the menu converts to its component where the menu
    // class is known; the control asks to hear when the menu goes away.
    template <class M>
    void SetPopupMenu(M* Value) {
        SetPopupMenuComponent(Value, Value);
    }
    void SetPopupMenuComponent(TPopupMenu* Menu, TComponent* MenuComponent);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState Value) { controlState_ = Value; }

    // --- painting and order
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void BringToFront();
    virtual void SendToBack();

    // Mouse capture that survives capture taken or dropped through Win32.
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // Asks the actions linked to this control to update (idle step).
    virtual void InitiateAction() {}

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TContextPopupEvent OnContextPopup;

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void Resize();
    // The control's area changed: the parent re-aligns its children.
    void RequestAlign();
    // Repaints the control's area of its parent (graphic controls).
    void InvalidateControl(bool IsVisible, bool IsOpaque);
    // The placement as the parent's anchors see it, recorded after a move
    // that did not come from alignment.
    void UpdateAnchorRules();
    virtual void UpdateBoundsRect(const TRect& R);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState controlState_;
    std::wstring text_;

private:
    friend class TWinControl;
    void FontChanged(TObject* Sender);
    void HandleMouseMessage(TMessage& Message);
    static std::wstring ToWideHint(const std::string& Value);

    struct Link {
        TWindowProcLink link;
        bool removed = false;
    };
    using LinkIterator = std::list<Link>::iterator;
    void CallChain(LinkIterator from, TMessage& Message);
    std::list<Link> links_;
    int chainDepth_ = 0;

    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    TRect anchorBounds_;
    TSize anchorParentSize_;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    TOwned<TFont> font_;
    bool parentFont_ = true;
    TCursor cursor_ = crDefault;
    std::wstring hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    TComponent* popupMenuComponent_ = nullptr;
    bool applyingParentFont_ = false;

protected:
    // False once the object is being freed: code that may free the object
    // (a message, an event) keeps a copy to tell before touching it again.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Passes a message on to the rest of a control's WindowProc chain.
class TControl::TWindowProcNext {
public:
    void operator()(TMessage& Message) const { control_->CallChain(next_, Message); }

private:
    friend class TControl;
    TWindowProcNext(TControl* control, LinkIterator next) : control_(control), next_(next) {}
    TControl* control_;
    LinkIterator next_;
};

// What a windowed control asks of CreateWindowExW. WindowClass.lpfnWndProc
// is the procedure unhandled messages go to (DefWindowProcW, or the original
// procedure of a system class the control is built on).
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSW WindowClass{};
    std::wstring WinClassName;
};

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

class TWinControl : public TControl {
    VX_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    void BeforeDestruction() override;
    // A window of a control that is not a child of a control of ours.
    static TWinControl* CreateParented(HWND ParentWindow);

    // --- the window
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // Destroys the window and makes it again (when it was showing, at once).
    void RecreateWnd();
    // Destroys the window (and the children's); they are made again on
    // demand.
    void DestroyHandle();
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND Value);
    WNDPROC DefWndProc() const { return defWndProc_; }

    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    bool Showing() const override { return showing_; }
    std::wstring GetWideText() const override;
    void SetWideText(const std::wstring& Value) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void BringToFront() override;
    void SendToBack() override;
    void DefaultHandler(TMessage& Message) override;
    void WndProc(TMessage& Message) override;

    // --- children
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int Index) const { return controls_.at(static_cast<size_t>(Index)); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    // The visible child under Pos (client coordinates), topmost first.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);
    // Sends Message to every child until one sets Result.
    void Broadcast(TMessage& Message);
    // Sends to every child and, for the windowed ones, to their children.
    void NotifyControls(UINT Msg);
    // Moves every child by (DeltaX, DeltaY) and repaints: scrolling.
    void ScrollBy(int DeltaX, int DeltaY);

    // --- alignment
    void DisableAlign();
    void EnableAlign();
    void Realign();
    // The area the children are aligned in.
    virtual void AdjustClientRect(TRect& Rect);

    // --- focus
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    virtual bool CanFocus();
    bool Focused() const;
    virtual void SetFocus();
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    void GetTabOrderList(std::vector<TWinControl*>& List);

    // --- painting
    TBrush* Brush() const { return brush_.get(); }
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool Value) { doubleBuffered_ = Value; }
    // Paints the control and its children into DC with the control's origin
    // at (X, Y).
    void PaintTo(HDC DC, int X, int Y);

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    virtual void CreateParams(TCreateParams& Params);
    // Makes a control built on a system window class ("BUTTON", "EDIT", ...).
    void CreateSubClass(TCreateParams& Params, const wchar_t* ClassName);
    virtual void CreateHandle();
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    // The window exists now (after the text and font were given to it).
    virtual void CreateHandleDone() {}

    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // Places an alCustom child; the default leaves it where it is.
    virtual void CustomAlignPosition(TControl*, int&, int&, int&, int&) {}
    void UpdateShowing();
    void UpdateControlState();

    virtual void PaintWindow(HDC DC);
    void PaintHandler(TMessage& Message);
    void PaintControls(HDC DC, TControl* First);

    virtual bool DoKeyDown(TMessage& Message);
    virtual bool DoKeyPress(TMessage& Message);
    virtual bool DoKeyUp(TMessage& Message);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();

    HWND handle_ = nullptr;

private:
    friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class TControl;
    friend class TCustomForm;
    void WindowCreated(HWND Window);
    void WindowGone();
    void AlignChildren(TControl* AControl);
    void UpdateMouseControl(TControl* Control);
    bool IsControlMouseMsg(TMessage& Message);
    // Whether a visible non-windowed child paints on this control.
    bool HasGraphicChildren() const;
    void HandleKeyMessage(TMessage& Message);
    void SetZOrder(TControl* Control, bool TopMost);
    // Hands a child window's notification back to that child as CN_BASE plus
    // the message; false for a message that is no such notification.
    bool ReflectNotification(TMessage& Message);

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    HWND parentWindow_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    bool showing_ = false;
    bool tabStop_ = false;
    bool doubleBuffered_ = false;
    bool trackingMouse_ = false;
    bool keepWindow_ = false;
    int alignLevel_ = 0;
    bool aligning_ = false;
    TControl* mouseControl_ = nullptr;
    TOwned<TBrush> brush_;
};

// A canvas on a control's client area: the window's DC for a windowed
// control, the parent's (origin moved to the control) for a graphic one.
class TControlCanvas : public TCanvas {
    VX_CLASS(TControlCanvas, TCanvas)
public:
    TControl* Control() const { return control_; }
    void SetControl(TControl* Value);
    // Lets go of the window DC (the class library's FreeHandle).
    void FreeHandle();

protected:
    ~TControlCanvas() override;
    void CreateHandle() override;

private:
    TControl* control_ = nullptr;
    HWND window_ = nullptr;
    HDC windowDC_ = nullptr;
};

// Lends a paint DC to a control's canvas for one scope: the canvas is locked,
// lets go of any window DC of its own, draws on the lent DC and gives it back
// on leaving the scope, also when painting throws.
class TCanvasPaintScope {
public:
    TCanvasPaintScope(TControlCanvas* Canvas, HDC DC);
    ~TCanvasPaintScope();
    TCanvasPaintScope(const TCanvasPaintScope&) = delete;
    TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
    TControlCanvas* canvas_;
};

class TGraphicControl : public TControl {
    VX_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    TCanvas* Canvas() const { return canvas_.get(); }
    void WndProc(TMessage& Message) override;

protected:
    virtual void Paint() {}

private:
    TOwned<TControlCanvas> canvas_;
};

class TCustomControl : public TWinControl {
    VX_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void PaintWindow(HDC DC) override;
    virtual void Paint() {}

private:
    TOwned<TControlCanvas> canvas_;
};

// The form a control sits on (the top-level form of its parent chain).
TCustomForm* GetParentForm(TControl* Control);
// The object of a window made by the class library, or null.
TWinControl* FindControl(HWND Handle);
// The control (windowed or graphic) under a screen point.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
