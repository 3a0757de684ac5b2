#include "notify/zkalertstyle.h"

#include <algorithm>
#include <cmath>

#include "classlib/graphics/handles.h"

namespace {
bool overrideActive = false;
TSetLayeredWindowAttributesProc overrideProc = nullptr;

TSetLayeredWindowAttributesProc SystemProc() {
    static const TSetLayeredWindowAttributesProc proc = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<TSetLayeredWindowAttributesProc>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
                      : nullptr;
    }();
    return proc;
}
}  // namespace

TSetLayeredWindowAttributesProc LayeredWindowAttributesProc() {
    return overrideActive ? overrideProc : SystemProc();
}

TLayeredWindowAttributesOverride::TLayeredWindowAttributesOverride(TSetLayeredWindowAttributesProc Proc)
    : savedActive_(overrideActive), savedProc_(overrideProc) {
    overrideActive = true;
    overrideProc = Proc;
}

TLayeredWindowAttributesOverride::~TLayeredWindowAttributesOverride() {
    overrideActive = savedActive_;
    overrideProc = savedProc_;
}

// --- the base

TZkCustomDesktopAlertStyleHandler::TZkCustomDesktopAlertStyleHandler(TCustomForm* Form)
    : timer_(MakeOwned<TTimer>(nullptr)), form_(Form) {
    timer_->SetEnabled(false);
}

void TZkCustomDesktopAlertStyleHandler::BeforeDestruction() {
    *alive_ = false;
    inherited::BeforeDestruction();
}

void TZkCustomDesktopAlertStyleHandler::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TZkCustomDesktopAlertStyleHandler*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    SetStartSteps(source->startSteps_);
    SetEndSteps(source->endSteps_);
    SetStartInterval(source->startInterval_);
    SetEndInterval(source->endInterval_);
    SetDisplayDuration(source->displayDuration_);
}

void TZkCustomDesktopAlertStyleHandler::SetStartSteps(unsigned Value) {
    startSteps_ = Value == 0 ? 1 : Value;
}

void TZkCustomDesktopAlertStyleHandler::SetEndSteps(unsigned Value) {
    endSteps_ = Value == 0 ? 1 : Value;
}

void TZkCustomDesktopAlertStyleHandler::StartAnimation() {
    if (startSteps_ == 0) return;
    timer_->SetEnabled(false);
    timer_->OnTimer = TNotifyEvent(this, &TZkCustomDesktopAlertStyleHandler::StartAnimationTimer);
    timer_->SetInterval(startInterval_);
    step_ = 0;
    PrepareStartAnimation();
    state_ = aasStarting;
    timer_->SetEnabled(true);
}

void TZkCustomDesktopAlertStyleHandler::StartAnimationTimer(TObject*) {
    ++step_;
    if (step_ < startSteps_) return;
    timer_->SetEnabled(false);
    FinishStartAnimation();
    BeginDisplay();
}

void TZkCustomDesktopAlertStyleHandler::BeginDisplay() {
    if (displayDuration_ == 0) return;
    timer_->OnTimer = TNotifyEvent(this, &TZkCustomDesktopAlertStyleHandler::DisplayTimer);
    timer_->SetInterval(displayDuration_);
    step_ = 0;
    state_ = aasDisplaying;
    timer_->SetEnabled(true);
}

void TZkCustomDesktopAlertStyleHandler::DisplayTimer(TObject*) {
    timer_->SetEnabled(false);
    state_ = aasIdle;
}

void TZkCustomDesktopAlertStyleHandler::EndAnimation() {
    if (endSteps_ == 0) return;
    timer_->OnTimer = TNotifyEvent(this, &TZkCustomDesktopAlertStyleHandler::EndAnimationTimer);
    timer_->SetInterval(endInterval_);
    step_ = 0;
    PrepareEndAnimation();
    state_ = aasEnding;
    timer_->SetEnabled(true);
}

void TZkCustomDesktopAlertStyleHandler::EndAnimationTimer(TObject*) {
    ++step_;
    if (step_ < endSteps_) return;
    timer_->SetEnabled(false);
    FinishEndAnimation();
}

void TZkCustomDesktopAlertStyleHandler::PrepareStartAnimation() {
    if (form_ && form_->HandleAllocated()) ShowWindow(form_->Handle(), SW_SHOWNA);
}

void TZkCustomDesktopAlertStyleHandler::FinishEndAnimation() {
    if (form_) form_->Close();
}

void TZkCustomDesktopAlertStyleHandler::AbortAnimation() {
    timer_->SetEnabled(false);
    if (state_ == aasStarting)
        FinishStartAnimation();
    else if (state_ == aasEnding)
        FinishEndAnimation();
}

// --- the steps of a level

void TZkLevelAlertStyleHandler::PrepareStartAnimation() {
    ShowMinimum();
    inherited::PrepareStartAnimation();
}

void TZkLevelAlertStyleHandler::StartAnimationTimer(TObject* Sender) {
    ShowStartStep(step_);
    inherited::StartAnimationTimer(Sender);
}

void TZkLevelAlertStyleHandler::FinishStartAnimation() {
    ShowMaximum();
}

void TZkLevelAlertStyleHandler::PrepareEndAnimation() {
    ShowMaximum();
}

void TZkLevelAlertStyleHandler::EndAnimationTimer(TObject* Sender) {
    std::shared_ptr<bool> alive = alive_;
    inherited::EndAnimationTimer(Sender);
    if (*alive) ShowEndStep(step_);
}

void TZkLevelAlertStyleHandler::FinishEndAnimation() {
    ShowMinimum();
    inherited::FinishEndAnimation();
}

void TZkLevelAlertStyleHandler::AbortAnimation() {
    if (state_ == aasStarting || state_ == aasDisplaying) return;
    timer_->SetEnabled(false);
    ShowMaximum();
}

// --- fade

void TZkFadeAlertStyleHandler::Assign(TPersistent* Source) {
    inherited::Assign(Source);
    if (auto* source = dynamic_cast<TZkFadeAlertStyleHandler*>(Source)) {
        min_ = source->min_;
        max_ = source->max_;
    }
}

void TZkFadeAlertStyleHandler::SetAlpha(BYTE Alpha) {
    TSetLayeredWindowAttributesProc proc = LayeredWindowAttributesProc();
    if (!proc || !form_ || !form_->HandleAllocated()) return;
    HWND window = form_->Handle();
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    proc(window, 0, Alpha, LWA_ALPHA);
}

void TZkFadeAlertStyleHandler::ShowStartStep(unsigned Step) {
    SetAlpha(
        static_cast<BYTE>(min_ + (max_ - min_) * static_cast<int>(Step) / static_cast<int>(startSteps_)));
}

void TZkFadeAlertStyleHandler::ShowEndStep(unsigned Step) {
    SetAlpha(static_cast<BYTE>(max_ - (max_ - min_) * static_cast<int>(Step) / static_cast<int>(endSteps_)));
}

// --- centre grow

TRect CenterGrowBox(int Width, int Height, double Percentage) {
    // lrint rounds halves to even, as the box has always been measured.
    const int w = static_cast<int>(std::lrint(Width * Percentage / 100.0));
    const int h = static_cast<int>(std::lrint(Height * Percentage / 100.0));
    const int left = (Width - w) / 2, top = (Height - h) / 2;
    return TRect(left, top, left + w, top + h);
}

void TZkCenterGrowAlertStyleHandler::Assign(TPersistent* Source) {
    inherited::Assign(Source);
    if (auto* source = dynamic_cast<TZkCenterGrowAlertStyleHandler*>(Source)) {
        min_ = source->min_;
        max_ = source->max_;
    }
}

void TZkCenterGrowAlertStyleHandler::SetMinGrowthPercentage(double Value) {
    min_ = std::clamp(Value, 0.0, 100.0);
}

void TZkCenterGrowAlertStyleHandler::SetMaxGrowthPercentage(double Value) {
    max_ = std::clamp(Value, 0.0, 100.0);
}

void TZkCenterGrowAlertStyleHandler::SetRegion(double Percentage) {
    if (!form_ || !form_->HandleAllocated()) return;
    const TRect box = CenterGrowBox(form_->Width(), form_->Height(), Percentage);
    TRegionHandle region(CreateRectRgn(box.Left, box.Top, box.Right, box.Bottom));
    // The window owns the region from here on.
    if (SetWindowRgn(form_->Handle(), region.Get(), TRUE)) region.Release();
}

void TZkCenterGrowAlertStyleHandler::ShowStartStep(unsigned Step) {
    SetRegion(min_ + (max_ - min_) * Step / startSteps_);
}

void TZkCenterGrowAlertStyleHandler::ShowEndStep(unsigned Step) {
    SetRegion(max_ - (max_ - min_) * Step / endSteps_);
}
