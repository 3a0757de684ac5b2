// Selection, child popups, timers, keyboard, wheel and accelerators of a
// view, and the record of how the menu loop ends.
#include <algorithm>
#include <cstdlib>

#include "toolbar/baracc.h"
#include "toolbar/barsystem.h"
#include "toolbar/bartext.h"
#include "toolbar/barview.h"

namespace {

int SystemWheelScrollLines() {
    UINT lines = 3;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
    return static_cast<int>(lines);
}

bool Selectable(TBarItemViewer* Viewer) {
    return (Viewer->Show || Viewer->Clipped) && Viewer->Item()->Visible() &&
           (Viewer->Item()->ItemStyle() & isfSelectable);
}

}  // namespace

int (*TBarView::WheelScrollLines)() = &SystemWheelScrollLines;

// ---- selection ---------------------------------------------------------------------------

TBarItemViewer* TBarView::NextSelectable(TBarItemViewer* Current, bool GoForward) {
    ValidatePositions();
    const int count = ViewerCount();
    if (count == 0) return nullptr;
    const int start = Current ? IndexOf(Current) : -1;
    int index = start < 0 ? (GoForward ? -1 : count) : start;
    for (int step = 0; step < count; ++step) {
        index += GoForward ? 1 : -1;
        if (index >= count) index = 0;
        if (index < 0) index = count - 1;
        if (index == start) return nullptr;
        TBarItemViewer* viewer = viewers_[static_cast<size_t>(index)];
        if (Selectable(viewer)) return viewer;
    }
    return nullptr;
}

TBarItemViewer* TBarView::FirstSelectable() {
    TBarItemViewer* first = NextSelectable(nullptr, true);
    for (TBarItemViewer* v = first; v;) {
        if (!(v->Item()->ItemStyle() & isfDontSelectFirst)) return v;
        v = NextSelectable(v, true);
        if (v == first) break;
    }
    return first;
}

void TBarView::Select(TBarItemViewer* Viewer, bool ByMouse) {
    const bool modal = (state_ & vsModal) != 0;
    TBarItemViewer* old = selected_;
    const bool changed = Viewer != old;
    if (changed) {
        if (parentView_ && parentView_->selected_ != parentView_->openViewer_) {
            parentView_->Select(parentView_->openViewer_, false);
            parentView_->StopTimer(tiOpen);
            parentView_->StopTimer(tiClose);
        }
        if (modal) {
            if (isToolbar_ || !ByMouse) {
                StopTimer(tiClose);
                if (Viewer != openViewer_) CloseChildPopup();
            } else if (openViewer_ && !TimerRunning(tiClose)) {
                StartTimer(tiClose, static_cast<UINT>(GetMenuShowDelay()));
            }
        }
        CancelCapture();
        if (old) {
            // OnSelect may free either item, and its viewer with it.
            TBarViewerWatch oldWatch(old), newWatch(Viewer);
            old->Leaving();
            old = oldWatch.Get();
            Viewer = newWatch.Get();
        }
        selected_ = Viewer;
        selectedViaMouse_ = ByMouse;
    }
    bool overSelected = false;
    if (selected_ && window_ && window_->HandleAllocated()) {
        const DWORD pos = GetMessagePos();
        POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        ::ScreenToClient(window_->Handle(), &pt);
        const TPoint p(pt.x, pt.y);
        overSelected = ViewerFromPoint(p) == selected_ &&
                       (!capture_ || selected_->IsPtInButtonPart(p.X - selected_->BoundsRect.Left,
                                                                 p.Y - selected_->BoundsRect.Top));
    }
    if (changed) {
        mouseOverSelected_ = overSelected;
        const auto redraws = [](TBarItemViewer* V) {
            return V && (V->Item()->ItemStyle() & isfRedrawOnSelChange);
        };
        Invalidate(redraws(old) ? old : nullptr, redraws(Viewer) ? Viewer : nullptr);
        if (Viewer) {
            TBarViewerWatch newWatch(Viewer);
            Viewer->Entering(old);
            Viewer = newWatch.Get();
        }
        NotifyFocusEvent();
        if (modal) {
            if (!isToolbar_) {
                StopTimer(tiOpen);
                if (ByMouse && Viewer && (Viewer->Item()->ItemStyle() & isfSubmenu))
                    StartTimer(tiOpen, static_cast<UINT>(GetMenuShowDelay()));
            } else {
                if (ByMouse && Viewer && openViewer_) state_ |= vsDropDownMenus;
                if ((state_ & vsDropDownMenus) && Viewer &&
                    (ByMouse || !(Viewer->Item()->ItemStyle() & isfNoAutoOpen)))
                    OpenChildPopup(!ByMouse);
            }
        }
    } else if (overSelected != mouseOverSelected_) {
        mouseOverSelected_ = overSelected;
        if (capture_ && selected_ && (selected_->Item()->ItemStyle() & isfRedrawOnMouseOverChange))
            Invalidate(selected_);
    }
}

void TBarView::SelectNext(bool GoForward) {
    if (TBarItemViewer* next = NextSelectable(selected_, GoForward)) {
        Select(next, false);
        ScrollSelectedIntoView();
    }
}

void TBarView::CancelCapture() {
    if (!capture_) return;
    capture_ = false;
    if (selected_) selected_->LosingCapture();
}

void TBarView::UpdateSelection(const TPoint* P, bool AllowNewSelection) {
    TBarItemViewer* target = (state_ & vsModal) ? selected_ : nullptr;
    bool overWindow = false;
    if (P && window_ && window_->HandleAllocated()) {
        POINT screen = *P;
        ClientToScreen(window_->Handle(), &screen);
        overWindow = WindowFromPoint(screen) == window_->Handle();
    }
    if (overWindow) {
        state_ |= vsMouseInWindow;
        if (IsPopup()) target = nullptr;
        if (AllowNewSelection || target) target = ViewerFromPoint(*P);
    } else {
        state_ &= static_cast<unsigned char>(~vsMouseInWindow);
    }
    if (capture_) target = selected_;
    if (IsPopup() && !overWindow && !capture_) {
        const bool submenuOpen = selected_ && selected_ == openViewer_;
        target = submenuOpen ? selected_ : nullptr;
    }
    Select(target, true);
    if (P && (showUpArrow_ || showDownArrow_)) {
        if (showUpArrow_ && P->Y < BarScrollBand) {
            if (!TimerRunning(tiScrollUp)) StartTimer(tiScrollUp, 100);
            StopTimer(tiScrollDown);
        } else if (showDownArrow_ && P->Y >= maxHeight_ - BarScrollBand) {
            if (!TimerRunning(tiScrollDown)) StartTimer(tiScrollDown, 100);
            StopTimer(tiScrollUp);
        } else {
            StopTimer(tiScrollUp);
            StopTimer(tiScrollDown);
        }
    }
}

bool TBarView::Scroll(bool Down) {
    const int old = scrollOffset_;
    if (Down && showDownArrow_) {
        const int limit = maxHeight_ - BarScrollBand;
        int best = -1;
        for (TBarItemViewer* viewer : viewers_)
            if (viewer->Clipped && !(viewer->Item()->ItemStyle() & isfSeparator) &&
                viewer->BoundsRect.Bottom > limit && (best < 0 || viewer->BoundsRect.Bottom < best))
                best = viewer->BoundsRect.Bottom;
        if (best >= 0) scrollOffset_ += best - limit;
    } else if (!Down && showUpArrow_) {
        int best = -1;
        bool found = false;
        for (TBarItemViewer* viewer : viewers_)
            if (viewer->Clipped && !(viewer->Item()->ItemStyle() & isfSeparator) &&
                viewer->BoundsRect.Top < BarScrollBand && (!found || viewer->BoundsRect.Top > best)) {
                best = viewer->BoundsRect.Top;
                found = true;
            }
        if (found) scrollOffset_ -= BarScrollBand - best;
    }
    if (scrollOffset_ == old) return false;
    validPositions_ = false;
    UpdatePositions();
    if (window_ && window_->HandleAllocated()) InvalidateRect(window_->Handle(), nullptr, TRUE);
    return scrollOffset_ != old;
}

void TBarView::ScrollSelectedIntoView() {
    ValidatePositions();
    if (!selected_ || !selected_->Clipped) return;
    const TRect r = selected_->BoundsRect;
    if (r.Top < BarScrollBand)
        scrollOffset_ -= BarScrollBand - r.Top;
    else
        scrollOffset_ += r.Bottom - (maxHeight_ - BarScrollBand);
    validPositions_ = false;
    UpdatePositions();
    // Showing an arrow band may have covered the item again.
    for (int guard = 0; selected_->Clipped && guard < ViewerCount(); ++guard)
        if (!Scroll(selected_->BoundsRect.Top >= BarScrollBand)) break;
}

void TBarView::ExecuteSelected(bool AGivePriority) {
    if (selected_ && selected_->Item()->Enabled()) {
        TBarViewerWatch viewer(selected_);
        if (!(viewer->Item()->ItemStyle() & isfCombo) && OpenChildPopup(true)) return;
        // An OnPopup that rebuilt the items took the viewer with them.
        if (!viewer) return;
        if (!(viewer->Item()->ItemStyle() & isfSelectable))
            EndModal();
        else
            viewer->Execute(AGivePriority);
        return;
    }
    EndModal();
}

// ---- child popups --------------------------------------------------------------------------

bool TBarView::OpenChildPopup(bool SelectFirstItem) {
    StopTimer(tiClose);
    StopTimer(tiOpen);
    if (selected_ != openViewer_) {
        CloseChildPopup();
        if (selected_ && selected_->Item()->Enabled() && (selected_->Item()->ItemStyle() & isfSubmenu)) {
            TBarItemViewer* viewer = selected_;
            TBarView* popupView = nullptr;
            // Recorded before the popup exists: a popup selecting its first
            // item asks this view to keep the open viewer selected.
            openViewer_ = viewer;
            TWinControl* popup = nullptr;
            try {
                popup = CreateChildPopup(viewer, SelectFirstItem, popupView);
            } catch (...) {
                if (openViewer_ == viewer) openViewer_ = nullptr;
                throw;
            }
            if (popup) {
                openViewer_ = viewer;
                openViewerView_ = popupView;
                openViewerWindow_ = popup;
                Invalidate(viewer);
            } else if (openViewer_ == viewer) {
                openViewer_ = nullptr;
            }
        }
        wheelAccumulator_ = 0;
    }
    return openViewer_ != nullptr;
}

TWinControl* TBarView::CreateChildPopup(TBarItemViewer*, bool, TBarView*&) {
    return nullptr;
}

void TBarView::FreeChildPopup(TWinControl* Window) {
    if (Window) Window->Free();
}

void TBarView::CloseChildPopup() {
    if (!openViewer_) return;
    if (openViewerView_) openViewerView_->CloseChildPopup();
    StopTimer(tiClose);
    TBarItemViewer* viewer = openViewer_;
    TWinControl* window = openViewerWindow_;
    openViewer_ = nullptr;
    openViewerView_ = nullptr;
    openViewerWindow_ = nullptr;
    FreeChildPopup(window);
    Invalidate(viewer);
}

void TBarView::CancelChildPopups() {
    if (isToolbar_) state_ &= static_cast<unsigned char>(~vsDropDownMenus);
    CloseChildPopup();
}

// ---- timers -----------------------------------------------------------------------------------

void TBarView::StartTimer(TBarViewTimer Timer, UINT Interval) {
    StopTimer(Timer);
    if (!window_ || !window_->HandleAllocated()) return;
    SetTimer(window_->Handle(), BarViewTimerBase + Timer, Interval, nullptr);
    activeTimers_ |= 1u << Timer;
}

void TBarView::StopTimer(TBarViewTimer Timer) {
    if (!(activeTimers_ & (1u << Timer))) return;
    activeTimers_ &= ~(1u << Timer);
    if (window_ && window_->HandleAllocated()) KillTimer(window_->Handle(), BarViewTimerBase + Timer);
}

void TBarView::TimerFired(UINT_PTR Id) {
    if (Id < BarViewTimerBase || Id > BarViewTimerBase + tiScrollDown) return;
    const auto timer = static_cast<TBarViewTimer>(Id - BarViewTimerBase);
    switch (timer) {
        case tiOpen:
            OpenChildPopup(false);
            break;
        case tiClose:
            StopTimer(tiClose);
            CloseChildPopup();
            break;
        case tiScrollUp:
        case tiScrollDown:
            if (!Scroll(timer == tiScrollDown)) StopTimer(timer);
            break;
    }
}

// ---- keyboard, wheel, accelerators --------------------------------------------------------------

void TBarView::KeyDown(WORD& Key, TShiftState Shift) {
    TBarView* toolbar = GetParentToolbarView();
    const bool horizontalToolbar = toolbar && toolbar->Orientation() != boVertical;
    switch (Key) {
        case VK_TAB:
            SelectNext(!Shift.Contains(ssShift));
            break;
        case VK_RETURN:
            ExecuteSelected(true);
            break;
        case VK_MENU:
        case VK_F10:
            EndModal();
            break;
        case VK_ESCAPE:
            if (parentView_)
                parentView_->CancelChildPopups();
            else
                EndModal();
            break;
        case VK_HOME:
        case VK_END:
            if (TBarItemViewer* viewer = NextSelectable(nullptr, Key == VK_HOME)) {
                Select(viewer, false);
                ScrollSelectedIntoView();
            }
            break;
        case VK_UP:
        case VK_DOWN:
            if (isToolbar_ && toolbar == this && orientation_ != boVertical)
                OpenChildPopup(true);
            else
                SelectNext(Key == VK_DOWN);
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (isToolbar_ && toolbar == this && orientation_ == boVertical) {
                OpenChildPopup(true);
            } else if (Key == VK_LEFT) {
                if (horizontalToolbar && (toolbar == this || toolbar == parentView_))
                    toolbar->SelectNext(false);
                else if (horizontalToolbar && parentView_)
                    parentView_->CloseChildPopup();
                else if (parentView_)
                    parentView_->CancelChildPopups();
            } else {
                bool opened = false;
                if (toolbar != this) opened = OpenChildPopup(true);
                if (!opened && horizontalToolbar) toolbar->SelectNext(true);
            }
            break;
        case VK_F1:
            for (TBarView* view = this; view; view = view->parentView_)
                if (view->selected_ && view->selected_->Item()->HelpContext() != 0) {
                    EndModalWithHelp(view->selected_->Item()->HelpContext());
                    break;
                }
            break;
        default:
            return;
    }
    Key = 0;
}

void TBarView::MouseWheel(int WheelDelta, int, int) {
    if (!showUpArrow_ && !showDownArrow_) return;
    const int scrollLines = WheelScrollLines();
    // No lines per notch: the user turned wheel scrolling off.
    if (scrollLines == 0) return;
    const bool down = WheelDelta < 0;
    if (down ? !showDownArrow_ : !showUpArrow_) {
        wheelAccumulator_ = 0;
        return;
    }
    if ((wheelAccumulator_ < 0) != down) wheelAccumulator_ = 0;
    wheelAccumulator_ += WheelDelta;
    const int magnitude = std::abs(wheelAccumulator_);
    const int sign = wheelAccumulator_ < 0 ? -1 : 1;
    int lines;
    if (scrollLines == static_cast<int>(WHEEL_PAGESCROLL) || scrollLines < 0) {
        // A page per notch: as many items as the scroll band shows.
        const int notches = magnitude / WHEEL_DELTA;
        if (notches == 0) return;
        wheelAccumulator_ = sign * (magnitude - notches * WHEEL_DELTA);
        int visible = 0;
        for (TBarItemViewer* viewer : viewers_)
            if (viewer->Show && !(viewer->Item()->ItemStyle() & isfSeparator)) ++visible;
        lines = notches * std::max(visible, 1);
    } else {
        lines = static_cast<int>(static_cast<long long>(magnitude) * scrollLines / WHEEL_DELTA);
        if (lines == 0) return;
        // Exactly the part of the accumulator the lines stand for goes.
        const int used =
            static_cast<int>((static_cast<long long>(lines) * WHEEL_DELTA + scrollLines - 1) / scrollLines);
        wheelAccumulator_ = sign * std::max(0, magnitude - used);
    }
    // No more steps than there are hidden items in that direction.
    int remaining = 0;
    for (TBarItemViewer* viewer : viewers_)
        if (viewer->Clipped) ++remaining;
    if (lines > remaining) {
        lines = remaining;
        wheelAccumulator_ = 0;
    }
    CloseChildPopup();
    for (int i = 0; i < lines; ++i)
        if (!Scroll(down)) {
            wheelAccumulator_ = 0;
            break;
        }
}

TBarItemViewer* TBarView::FindAccel(char Key, bool& IsOnlyItemWithAccel) {
    ValidatePositions();
    IsOnlyItemWithAccel = false;
    const int count = ViewerCount();
    if (count == 0) return nullptr;
    auto sameChar = [](char a, char b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, &a, 1, &b, 1) == CSTR_EQUAL;
    };
    auto candidate = [&](TBarItemViewer* v, bool Enabled) {
        return (v->Show || v->Clipped) && (v->Item()->ItemStyle() & isfSelectable) && v->Item()->Visible() &&
               v->Item()->Enabled() == Enabled && v->CaptionShown();
    };
    const int start = selected_ ? IndexOf(selected_) : -1;
    auto search = [&](bool Primary, bool Enabled, int* Matches) -> TBarItemViewer* {
        TBarItemViewer* found = nullptr;
        for (int step = 1; step <= count; ++step) {
            TBarItemViewer* v = viewers_[static_cast<size_t>((start + step + count) % count)];
            if (!candidate(v, Enabled)) continue;
            const std::string caption = v->GetCaptionText();
            const char accel = FindAccelChar(caption);
            bool match;
            if (Primary)
                match = accel != 0 && sameChar(accel, Key);
            else
                match = accel == 0 && Key != ' ' && !caption.empty() && sameChar(caption[0], Key);
            if (!match) continue;
            if (Matches) ++*Matches;
            if (!found) found = v;
            if (!Matches) break;
        }
        return found;
    };
    int enabledMatches = 0;
    TBarItemViewer* found = search(true, true, &enabledMatches);
    if (!found) found = search(false, true, &enabledMatches);
    if (found) {
        IsOnlyItemWithAccel = enabledMatches == 1;
        return found;
    }
    if ((found = search(true, false, nullptr))) return found;
    return search(false, false, nullptr);
}

void TBarView::UpdateAccelerators(bool ForceShow) {
    const bool show = ForceShow || !(style_ & vsUseHiddenAccels) || AreKeyboardCuesEnabled();
    if (show == ((state_ & vsShowAccels) != 0)) return;
    SetState(vsShowAccels, show);
    for (TBarItemViewer* viewer : viewers_)
        if (viewer->CaptionShown() && FindAccelChar(viewer->GetCaptionText()) != 0) Invalidate(viewer);
}

// ---- ending the loop ------------------------------------------------------------------------------

void TBarView::EndModal() {
    TBarDoneAction& done = DoneAction();
    done = TBarDoneAction{};
    done.Kind = tbdaCancel;
}

void TBarView::EndModalWithClick(TBarItemViewer* Viewer) {
    TBarDoneAction& done = DoneAction();
    done = TBarDoneAction{};
    done.Kind = tbdaClickItem;
    done.ClickItem = Viewer->Item();
    done.Sound = Viewer->View()->IsPopup();
}

void TBarView::EndModalWithHelp(int AContextID) {
    TBarDoneAction& done = DoneAction();
    done = TBarDoneAction{};
    done.Kind = tbdaHelp;
    done.ContextID = AContextID;
}

void TBarView::EndModalWithSystemMenu(HWND AWnd, WORD AKey) {
    TBarDoneAction& done = DoneAction();
    done = TBarDoneAction{};
    done.Kind = tbdaOpenSystemMenu;
    done.Wnd = AWnd;
    done.Key = AKey;
}

// ---- focus events ---------------------------------------------------------------------------------

void TBarView::NotifyFocusEvent() {
    if (!(state_ & vsModal) || !window_ || !window_->HandleAllocated() || !IsWindowVisible(window_->Handle()))
        return;
    if (!selected_) {
        if (parentView_) parentView_->NotifyFocusEvent();
        return;
    }
    int child = 0;
    for (TBarItemViewer* viewer : viewers_) {
        if (viewer->IsAccessible()) ++child;
        if (viewer == selected_) break;
    }
    CallNotifyWinEvent(EVENT_OBJECT_FOCUS, window_->Handle(), OBJID_CLIENT, child);
}
