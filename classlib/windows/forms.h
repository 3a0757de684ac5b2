// Forms: top-level windows with a border style, caption icons, a position
// rule, the active control, and the two ways of showing them (modeless
// `Show`, modal `ShowModal` returning the `ModalResult`), closed through
// `CloseQuery` and `OnClose`.
#pragma once

#include "classlib/windows/controls.h"

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
using TFormBorderStyle = TBorderStyle;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateFlag>;
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

using TCloseEvent = TDelegate<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = TDelegate<void(TMessage& Msg, bool& Handled)>;

// Fills a form (and the forms it derives from) from its form resource;
// answers false when there is none. Set by the form-resource unit.
using TInitInheritedComponentProc = bool (*)(TComponent* Instance, TClass RootAncestor);
extern TInitInheritedComponentProc InitInheritedComponentProc;

class TCustomForm : public TWinControl {
    VX_CLASS(TCustomForm, TWinControl)
public:
    // Create: the form is filled from its form resource after construction
    // (EResNotFound "Resource %s not found" when it has none).
    explicit TCustomForm(TComponent* AOwner);
    // CreateNew: an empty form, no resource.
    TCustomForm(TComponent* AOwner, int Dummy);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TCanvas* Canvas() const { return canvas_.get(); }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    // A live window is made again with the new frame.
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition Value) { position_ = Value; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState Value);
    TFormState FormState() const { return formState_; }
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool Value) { oldCreateOrder_ = Value; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool Value) { keyPreview_ = Value; }

    TWinControl* ActiveControl() const { return activeControl_; }
    // Raises EInvalidOperation when the control cannot take the focus (a
    // form that is loading takes any control of its own: it has the focus
    // at the first activation).
    void SetActiveControl(TWinControl* Control);
    bool Active() const { return active_; }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }

    void Show();
    // Raises EInvalidOperation "Cannot make a visible window modal" when the
    // form is visible, disabled or already modal.
    virtual TModalResult ShowModal();
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages being handled are done.
    void Release();

    // Focus bookkeeping, called by the controls of the form.
    void FocusControl(TWinControl* Control);
    void DefocusControl(TWinControl* Control, bool Removing);
    bool SetFocusedControl(TWinControl* Control);
    virtual bool IsShortCut(TMessage& Message);
    // The idle step: actions of the controls with csActionClient update.
    virtual void UpdateActions();

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    virtual void Paint();
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    // Makes the form visible (OnShow, fsVisible) while its window stays
    // hidden, so that the caller can show it later without activating it.
    void ShowWithoutWindow();

private:
    void Init();
    void ShowingChanged();
    void ApplyPosition();
    void CloseModal();

    TOwned<TControlCanvas> canvas_;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    TFormState formState_;
    bool oldCreateOrder_ = false;
    bool keyPreview_ = false;
    bool fromResource_ = false;
    bool positioned_ = false;
    bool holdWindow_ = false;
    bool active_ = false;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
};

class TForm : public TCustomForm {
    VX_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};
