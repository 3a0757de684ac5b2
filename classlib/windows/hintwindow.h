// The hint window: a small top-most popup that shows a control's short hint
// without taking the focus, and `THintInfo`, the record a control receives
// with CM_HINTSHOW to change what, where and how long a hint shows.
#pragma once

#include <string>

#include "classlib/windows/controls.h"

class THintWindow : public TCustomControl {
    VX_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* AOwner);

    // The bounds a hint needs at most MaxWidth wide (origin at 0, 0).
    virtual TRect CalcHintRect(int MaxWidth, const std::wstring& Hint, void* Data);
    // Shows the hint in Rect (screen coordinates, kept on the monitor).
    virtual void ActivateHint(TRect Rect, const std::wstring& Hint);
    virtual void ActivateHintData(const TRect& Rect, const std::wstring& Hint, void*) {
        ActivateHint(Rect, Hint);
    }
    // Hides the window (it is made again on the next hint).
    void ReleaseHandle();
    bool Active() const { return active_; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void WndProc(TMessage& Message) override;

private:
    bool active_ = false;
};

using THintWindowClass = TClass;
// The window class hints use unless a CM_HINTSHOW answer picks another.
extern THintWindowClass HintWindowClass;

struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass = nullptr;
    // Where the hint's top left goes (screen).
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    // While the cursor stays in here (HintControl's client coordinates) the
    // hint stays as it is; leaving it asks again.
    TRect CursorRect;
    // The cursor in HintControl's client coordinates.
    TPoint CursorPos;
    // Asks again after this many milliseconds (0: never).
    int ReshowTimeout = 0;
    // Hides the hint after this many milliseconds (0 or less: never).
    int HideTimeout = 0;
    std::wstring HintStr;
    void* HintData = nullptr;
};
