#include "classlib/windows/screen.h"

#include <algorithm>

#include "classlib/windows/forms.h"

TScreen* Screen = Create<TScreen>(nullptr);

namespace {
struct SystemCursor {
    TCursor id;
    LPCWSTR shape;
};
// The class library's own drag and split cursors are resources of its own;
// the nearest system shapes stand in for them.
const SystemCursor kSystemCursors[] = {
    {crDefault, reinterpret_cast<LPCWSTR>(IDC_ARROW)},
    {crArrow, reinterpret_cast<LPCWSTR>(IDC_ARROW)},
    {crCross, reinterpret_cast<LPCWSTR>(IDC_CROSS)},
    {crIBeam, reinterpret_cast<LPCWSTR>(IDC_IBEAM)},
    {crSizeNESW, reinterpret_cast<LPCWSTR>(IDC_SIZENESW)},
    {crSizeNS, reinterpret_cast<LPCWSTR>(IDC_SIZENS)},
    {crSizeNWSE, reinterpret_cast<LPCWSTR>(IDC_SIZENWSE)},
    {crSizeWE, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)},
    {crUpArrow, reinterpret_cast<LPCWSTR>(IDC_UPARROW)},
    {crHourGlass, reinterpret_cast<LPCWSTR>(IDC_WAIT)},
    {crDrag, reinterpret_cast<LPCWSTR>(IDC_ARROW)},
    {crNoDrop, reinterpret_cast<LPCWSTR>(IDC_NO)},
    {crHSplit, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)},
    {crVSplit, reinterpret_cast<LPCWSTR>(IDC_SIZENS)},
    {crMultiDrag, reinterpret_cast<LPCWSTR>(IDC_ARROW)},
    {crSQLWait, reinterpret_cast<LPCWSTR>(IDC_WAIT)},
    {crNo, reinterpret_cast<LPCWSTR>(IDC_NO)},
    {crAppStart, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING)},
    {crHelp, reinterpret_cast<LPCWSTR>(IDC_HELP)},
    {crHandPoint, reinterpret_cast<LPCWSTR>(IDC_HAND)},
    {crSizeAll, reinterpret_cast<LPCWSTR>(IDC_SIZEALL)},
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<TMonitorInfo>*>(list)->push_back(
            {monitor, info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}
}  // namespace

TScreen::TScreen(TComponent* AOwner)
    : inherited(AOwner), iconFont_(Create<TFont>()), hintFont_(Create<TFont>()), menuFont_(Create<TFont>()) {
    for (const auto& c : kSystemCursors) cursors_[c.id] = {LoadCursorW(nullptr, c.shape), true};
    cursors_[crNone] = {nullptr, true};
    LoadFonts();
}

void TScreen::BeforeDestruction() {
    inherited::BeforeDestruction();
    for (auto& [id, entry] : cursors_) {
        if (entry.shared || !entry.handle) continue;
        HCURSOR doomed = entry.handle;
        for (auto& [otherId, other] : cursors_)
            if (other.handle == doomed) other.handle = nullptr;
        DestroyCursor(doomed);
    }
    if (Screen == this) Screen = nullptr;
}

void TScreen::LoadFonts() {
    LOGFONTW icon{};
    if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0))
        iconFont_->SetHandle(CreateFontIndirectW(&icon));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        hintFont_->SetHandle(CreateFontIndirectW(&metrics.lfStatusFont));
        menuFont_->SetHandle(CreateFontIndirectW(&metrics.lfMenuFont));
    }
    hintFont_->SetColor(clInfoText);
}

HCURSOR TScreen::Cursors(TCursor Index) const {
    auto it = cursors_.find(Index);
    if (it != cursors_.end() && (it->second.handle || Index == crNone)) return it->second.handle;
    return cursors_.at(crDefault).handle;
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
    CursorEntry& entry = cursors_[Index];
    if (entry.handle == Handle) return;
    HCURSOR old = entry.handle;
    const bool oldShared = entry.shared;
    // A handle that another id already holds keeps the standing it has
    // there; any other handle now belongs to the screen.
    bool shared = Handle == nullptr;
    for (const auto& [id, other] : cursors_)
        if (id != Index && Handle && other.handle == Handle) shared = other.shared;
    entry.handle = Handle;
    entry.shared = shared;
    if (old && !oldShared) {
        bool stillUsed = false;
        for (const auto& [id, other] : cursors_)
            if (other.handle == old) stillUsed = true;
        if (!stillUsed) DestroyCursor(old);
    }
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == cursor_) return;
    cursor_ = Value;
    if (Value == crDefault) {
        // Makes the window under the cursor choose its cursor again.
        POINT p{};
        GetCursorPos(&p);
        SetCursorPos(p.x, p.y);
    } else {
        ::SetCursor(Cursors(Value));
    }
}

int TScreen::PixelsPerInch() const {
    return ScreenPixelsPerInch();
}

TRect TScreen::WorkAreaRect() const {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

TRect TScreen::DesktopRect() const {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Bounds(x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

std::vector<TMonitorInfo> TScreen::Monitors() const {
    std::vector<TMonitorInfo> list;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

TMonitorInfo TScreen::MonitorFromRect(const TRect& R) const {
    HMONITOR monitor = ::MonitorFromRect(R.Win32(), MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return {monitor, info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
}

void TScreen::AddForm(TCustomForm* Form) {
    if (std::find(forms_.begin(), forms_.end(), Form) == forms_.end()) forms_.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), Form), forms_.end());
    if (activeForm_ == Form) SetActiveForm(nullptr);
    if (activeControl_ && GetParentForm(activeControl_) == Form) activeControl_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* Form) {
    if (Form == activeForm_) return;
    activeForm_ = Form;
    if (Form) {
        // The active form comes first in the list, as the class library keeps it.
        forms_.erase(std::remove(forms_.begin(), forms_.end(), Form), forms_.end());
        forms_.insert(forms_.begin(), Form);
        activeControl_ = Form->ActiveControl();
    } else {
        activeControl_ = nullptr;
    }
    if (Assigned(OnActiveFormChange)) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* Control, TCustomForm* Form) {
    if (Form != activeForm_ && Form) SetActiveForm(Form);
    if (Control == activeControl_) return;
    activeControl_ = Control;
    if (Assigned(OnActiveControlChange)) OnActiveControlChange(this);
}
