// The screen: the forms of the program and the active one, the cursors by
// id (the system's shared ones and those the program adds), the screen-wide
// cursor, the work area, the monitors and the system's icon and hint fonts.
#pragma once

#include <map>
#include <vector>

#include "classlib/windows/controls.h"

class TCustomForm;

struct TMonitorInfo {
    HMONITOR Handle = nullptr;
    TRect BoundsRect;
    TRect WorkareaRect;
    bool Primary = false;
};

class TScreen : public TComponent {
    VX_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner);
    void BeforeDestruction() override;

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int Index) const { return forms_.at(static_cast<size_t>(Index)); }
    TCustomForm* ActiveCustomForm() const { return activeForm_; }
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }

    // The cursor of an id; an unknown id gives the arrow.
    HCURSOR Cursors(TCursor Index) const;
    // Adds or replaces a cursor. The screen destroys the cursors it was
    // given when they are replaced or at the end, unless another id still
    // holds them; the system's shared cursors are never destroyed.
    void SetCursors(TCursor Index, HCURSOR Handle);
    // A cursor for the whole program (crDefault: each control's own).
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);

    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int PixelsPerInch() const;
    TRect WorkAreaRect() const;
    TRect DesktopRect() const;
    int MonitorCount() const { return static_cast<int>(Monitors().size()); }
    std::vector<TMonitorInfo> Monitors() const;
    // The monitor nearest to a rectangle.
    TMonitorInfo MonitorFromRect(const TRect& R) const;
    TFont* IconFont() const { return iconFont_.get(); }
    TFont* HintFont() const { return hintFont_.get(); }
    TFont* MenuFont() const { return menuFont_.get(); }

    // Kept up to date by the forms.
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void SetActiveForm(TCustomForm* Form);
    void SetActiveControl(TWinControl* Control, TCustomForm* Form);

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

private:
    void LoadFonts();

    struct CursorEntry {
        HCURSOR handle = nullptr;
        bool shared = true;
    };
    std::map<TCursor, CursorEntry> cursors_;
    TCursor cursor_ = crDefault;
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TOwned<TFont> iconFont_;
    TOwned<TFont> hintFont_;
    TOwned<TFont> menuFont_;
};

extern TScreen* Screen;
