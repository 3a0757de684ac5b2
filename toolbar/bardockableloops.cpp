// The modal mouse loops of a dockable bar: moving (docking targets, rows,
// floating), sizing a floating bar, and tracking a close button. Every loop
// releases the capture, the cursor clip and the desktop lock on every exit.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "classlib/graphics/handles.h"
#include "classlib/services/systemsettings.h"
#include "toolbar/bardockable.h"
#include "toolbar/barfloating.h"
#include "toolbar/barloop.h"
#include "toolbar/barmessages.h"
#include "toolbar/barprint.h"
#include "toolbar/barsystem.h"

namespace {

bool DragFullWindows() {
    BOOL full = TRUE;
    if (!SystemSettings().ParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full, 0)) return true;
    return full != FALSE;
}

HCURSOR SystemCursor(LPCWSTR Id) {
    return LoadCursorW(nullptr, Id);
}

// Holds the docking targets of one drag; a dock freed meanwhile leaves the
// list at once.
class TTargetWatch : public TComponent {
    VX_CLASS(TTargetWatch, TComponent)
public:
    using TComponent::TComponent;
    std::vector<TBarDock*> Targets;
    void Add(TBarDock* Dock) {
        if (std::find(Targets.begin(), Targets.end(), Dock) != Targets.end()) return;
        Targets.push_back(Dock);
        Dock->FreeNotification(this);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            std::erase(Targets, static_cast<TBarDock*>(static_cast<void*>(AComponent)));
    }
    void BeforeDestruction() override {
        for (TBarDock* dock : Targets) dock->RemoveFreeNotification(this);
        Targets.clear();
        TComponent::BeforeDestruction();
    }
};

void CollectTargets(TWinControl* Control, TBarCustomDockableWindow* Bar, TTargetWatch& Watch) {
    std::vector<TWinControl*> docks[4], others;
    for (int i = 0; i < Control->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(Control->Controls(i));
        // The bar and what it holds are never targets (its own dock is).
        if (!child || !child->Showing() || Bar->ContainsControl(child)) continue;
        if (auto* dock = dynamic_cast<TBarDock*>(child))
            docks[dock->Position()].push_back(dock);
        else
            others.push_back(child);
    }
    for (auto& group : docks)
        for (TWinControl* child : group) {
            auto* dock = static_cast<TBarDock*>(child);
            if (dock->GetAllowDrag() && Bar->CanDockTo(dock)) Watch.Add(dock);
            CollectTargets(dock, Bar, Watch);
        }
    for (TWinControl* child : others) CollectTargets(child, Bar, Watch);
}

TRect ScreenRectOf(TWinControl* Control) {
    RECT r{};
    GetWindowRect(Control->Handle(), &r);
    return r;
}

}  // namespace

// One drag of a bar's handle or floating caption.
class TBarMoveLoop {
public:
    explicit TBarMoveLoop(TBarCustomDockableWindow* Bar)
        : bar_(Bar), watch_(MakeOwned<TTargetWatch>(nullptr)) {}
    void Run(int InitX, int InitY);

private:
    struct Placement {
        bool valid = false;  // false: nowhere allowed (dmCannotFloat outside docks)
        TBarDock* dock = nullptr;
        int row = 0, pos = 0;
        bool newRow = false;
        TPoint floatPos;
        TRect outline;  // screen
    };
    Placement Evaluate(TPoint Cursor);
    bool DockZone(TBarDock* Dock, TPoint Cursor, Placement& P);
    void Apply(const Placement& P);
    void ShowOutline(const Placement* P);
    TSize FloatingWindowSize();
    TSize DockedSize(TBarDock* Dock);

    TBarCustomDockableWindow* bar_;
    TOwned<TTargetWatch> watch_;
    TPoint grip_;      // cursor within the bar's window at the start
    TSize startSize_;  // the bar's window size at the start
    TPoint startCursor_;
    bool ctrl_ = false;
    bool movedInRow_ = false;
    bool smooth_ = true;
    HCURSOR startCursorShape_ = nullptr;
    TDragOutline* outline_ = nullptr;
};

TSize TBarMoveLoop::FloatingWindowSize() {
    if (bar_->floatParent_ && bar_->floatParent_->HandleAllocated()) {
        const TRect r = ScreenRectOf(bar_->floatParent_);
        return TSize{r.Width(), r.Height()};
    }
    TSize border;
    bar_->GetFloatingBorderSize(border);
    TSize base;
    bar_->GetBaseSize(base);
    const int caption = bar_->ShowCaption() ? GetSystemMetrics(SM_CYSMCAPTION) : 0;
    return TSize{base.cx + 2 * border.cx, base.cy + 2 * border.cy + caption};
}

TSize TBarMoveLoop::DockedSize(TBarDock* Dock) {
    if (Dock == bar_->currentDock_) return TSize{bar_->Width(), bar_->Height()};
    TSize base;
    bar_->GetBaseSize(base);
    const int handle = Dock->GetAllowDrag() ? bar_->DragHandleSize() : 0;
    return Dock->Vertical() ? TSize{base.cx + 4, base.cy + 4 + handle}
                            : TSize{base.cx + 4 + handle, base.cy + 4};
}

bool TBarMoveLoop::DockZone(TBarDock* Dock, TPoint Cursor, Placement& P) {
    if (!Dock->HandleAllocated() || !Dock->Showing()) return false;
    TRect area = ScreenRectOf(Dock);
    InflateRect(area.Win32(), 3, 3);
    // Docks are thin (empty ones 0 pixels): the cursor may miss them by a
    // little across, scaled to how thick the bar is across compared to its
    // length.
    const TSize docked = DockedSize(Dock);
    const int thick = Dock->Vertical() ? docked.cx : docked.cy;
    const int length = std::max<int>(1, Dock->Vertical() ? docked.cy : docked.cx);
    const int tolerance = std::max(8, MulDiv(25, std::min(thick, length), length));
    if (Dock->Vertical())
        InflateRect(area.Win32(), tolerance, 0);
    else
        InflateRect(area.Win32(), 0, tolerance);
    if (!area.Contains(Cursor)) return false;
    bool accept = true;
    if (Dock->OnRequestDock) Dock->OnRequestDock(Dock, bar_, accept);
    if (!accept) return false;

    const bool vertical = Dock->Vertical();
    const TPoint local = Dock->ScreenToClient(Cursor);
    const int across = vertical ? local.X : local.Y;
    const int along = vertical ? local.Y : local.X;
    // The grip point keeps its place along the bar, scaled when the bar's
    // length changes between its floating and docked shapes.
    int gripAlong = vertical ? grip_.Y : grip_.X;
    const int startLength = vertical ? startSize_.cy : startSize_.cx;
    const int newLength = vertical ? docked.cy : docked.cx;
    if (startLength > 0 && newLength != startLength) gripAlong = MulDiv(gripAlong, newLength, startLength);
    gripAlong = std::clamp(gripAlong, 0, std::max(0, newLength - 1));

    const int highest = Dock->GetHighestRow(true);
    int rowStart = 0;
    P.row = highest + 1;
    P.newRow = true;
    for (int row = 0; row <= highest; ++row) {
        bool full = false;
        const int size = Dock->GetCurrentRowSize(row, full);
        if (size <= 0) continue;
        const int edge = (full || bar_->fullSize_) ? size / 2 : size / 4;
        if (across < rowStart + edge) {
            P.row = row;
            P.newRow = true;
            break;
        }
        if (across < rowStart + size - edge) {
            P.row = row;
            P.newRow = false;
            break;
        }
        rowStart += size;
        if (across < rowStart) {
            P.row = row + 1;
            P.newRow = true;
            break;
        }
    }
    P.dock = Dock;
    P.pos = along - gripAlong;
    P.valid = true;
    const TPoint origin = Dock->ClientToScreen(Point(0, 0));
    P.outline = vertical ? Bounds(origin.X + rowStart, origin.Y + P.pos, docked.cx, docked.cy)
                         : Bounds(origin.X + P.pos, origin.Y + rowStart, docked.cx, docked.cy);
    return true;
}

TBarMoveLoop::Placement TBarMoveLoop::Evaluate(TPoint Cursor) {
    Placement p;
    const bool canFloat = bar_->dockMode_ == dmCanFloat;
    if (!ctrl_ || !canFloat) {
        for (TBarDock* dock : watch_->Targets) {
            if (bar_->dockMode_ == dmCannotFloatOrChangeDocks && dock != bar_->currentDock_) continue;
            if (DockZone(dock, Cursor, p)) return p;
        }
    }
    if (!canFloat) return p;
    const TSize size = FloatingWindowSize();
    TSize border;
    bar_->GetFloatingBorderSize(border);
    const int caption = bar_->ShowCaption() ? GetSystemMetrics(SM_CYSMCAPTION) : 0;
    // The grip point stays under the cursor, within the floating window.
    const int gx = std::clamp<int>(grip_.X, 0, std::max<int>(0, size.cx - 1));
    const int gy = bar_->floating_
                       ? grip_.Y
                       : std::clamp<int>(grip_.Y + border.cy + caption, 0, std::max<int>(0, size.cy - 1));
    p.valid = true;
    p.floatPos = Point(Cursor.X - gx, Cursor.Y - gy);
    p.outline = Bounds(p.floatPos.X, p.floatPos.Y, size.cx, size.cy);
    return p;
}

void TBarMoveLoop::Apply(const Placement& P) {
    if (!P.valid) return;
    if (P.dock) {
        bar_->dockRow_ = P.row;
        bar_->dockPos_ = P.pos;
        bar_->needsOwnRow_ = P.newRow;
        P.dock->SetCommitNewPositions();
        if (bar_->Parent() != P.dock)
            bar_->SetParent(P.dock);
        else
            P.dock->ArrangeToolbars();
        bar_->needsOwnRow_ = false;
        return;
    }
    bar_->floatingPosition_ = P.floatPos;
    if (!bar_->floating_)
        bar_->SetFloating(true);
    else
        bar_->PlaceFloatingWindow();
    bar_->MoveOnScreen(true);
}

void TBarMoveLoop::ShowOutline(const Placement* P) {
    if (!outline_) return;
    TSize size{1, 1};
    if (P && P->valid && !P->dock) bar_->GetFloatingBorderSize(size);
    outline_->Show(P && P->valid ? &P->outline : nullptr, size);
}

void TBarMoveLoop::Run(int InitX, int InitY) {
    TCustomForm* form = bar_->BarParentForm();
    if (!form || !bar_->HandleAllocated()) return;
    CollectTargets(form, bar_, *watch_);
    // Rows are chosen by their effective numbers: stored numbers far apart
    // would rank a dropped bar between them.
    for (TBarDock* dock : watch_->Targets) dock->CommitPositions();
    const TRect start =
        ScreenRectOf(bar_->floating_ && bar_->floatParent_ ? static_cast<TWinControl*>(bar_->floatParent_)
                                                           : static_cast<TWinControl*>(bar_));
    startCursor_ = bar_->ClientToScreen(Point(InitX, InitY));
    grip_ = Point(startCursor_.X - start.Left, startCursor_.Y - start.Top);
    startSize_ = TSize{start.Width(), start.Height()};
    ctrl_ = GetKeyState(VK_CONTROL) < 0;
    smooth_ = bar_->smoothDrag_ && DragFullWindows();
    startCursorShape_ = GetCursor();

    // What a cancelled live drag goes back to.
    TBarDock* originalDock = bar_->currentDock_;
    const int originalRow = bar_->dockRow_, originalPos = bar_->dockPos_;
    const bool originalFloating = bar_->floating_;
    const TPoint originalFloatPos = bar_->floatingPosition_;

    auto alive = bar_->alive_;
    HWND window = bar_->Handle();
    bar_->holdFloatParent_ = true;
    bar_->dragging_ = true;
    struct Cleanup {
        TBarCustomDockableWindow* bar;
        std::shared_ptr<bool> alive;
        ~Cleanup() {
            if (!*alive) return;
            bar->dragging_ = bar->needsOwnRow_ = bar->keepsListIndex_ = bar->splitsRow_ = false;
            bar->holdFloatParent_ = false;
            // A floating window made for the drag and not used in the end.
            if (!bar->floating_) bar->FreeFloatingParent();
        }
    } cleanup{bar_, alive};

    Placement final;
    bool accepted = false;
    {
        if (!smooth_) ProcessPaintMessages();
        TDragOutline outline(!smooth_);
        outline_ = &outline;
        TMouseCaptureScope capture(window);
        struct Forget {
            TDragOutline*& outline;
            ~Forget() { outline = nullptr; }
        } forget{outline_};
        TPoint last = startCursor_;
        Placement current = Evaluate(startCursor_);
        current.valid = false;  // nothing changes before the mouse moves
        auto reevaluate = [&](TPoint cursor) {
            Placement next = Evaluate(cursor);
            // In its own row the bar stays put until the cursor has moved
            // 10 pixels along the row.
            if (next.valid && next.dock && next.dock == bar_->currentDock_ && !next.newRow &&
                next.row == bar_->effectiveRow_) {
                const bool vertical = next.dock->Vertical();
                const int moved = vertical ? cursor.Y - startCursor_.Y : cursor.X - startCursor_.X;
                if (!movedInRow_ && std::abs(moved) < 10) return;
                movedInRow_ = true;
                bar_->keepsListIndex_ = true;
                SetCursor(SystemCursor(reinterpret_cast<LPCWSTR>(vertical ? IDC_SIZENS : IDC_SIZEWE)));
            } else {
                SetCursor(next.valid ? startCursorShape_ : SystemCursor(reinterpret_cast<LPCWSTR>(IDC_NO)));
            }
            current = next;
            if (smooth_)
                Apply(next);
            else
                ShowOutline(&next);
        };
        MSG msg{};
        for (;;) {
            const TLoopFetch got = FetchLoopMessage(window, msg);
            if (got != lfMessage || !*alive) break;
            bool done = false;
            if (IsOtherButtonMessage(msg.message)) continue;
            switch (msg.message) {
                case WM_LBUTTONUP:
                    accepted = true;
                    done = true;
                    break;
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK:
                    done = true;
                    break;
                case WM_KEYDOWN:
                case WM_KEYUP:
                case WM_SYSKEYDOWN:
                case WM_SYSKEYUP:
                    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                        done = true;
                    } else if (msg.wParam == VK_CONTROL) {
                        const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
                        if (down != ctrl_) {
                            ctrl_ = down;
                            reevaluate(last);
                        }
                    }
                    break;
                case WM_CHAR:
                case WM_SYSCHAR:
                    break;
                case WM_MOUSEMOVE: {
                    const TPoint cursor(msg.pt);
                    if (cursor == last) break;
                    last = cursor;
                    reevaluate(cursor);
                    break;
                }
                default:
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                    break;
            }
            if (done || !*alive) break;
        }
        final = current;
    }
    if (!*alive) return;
    if (accepted) {
        if (!smooth_) Apply(final);
    } else if (smooth_) {
        // Back to where the drag began.
        if (originalDock && watch_->Targets.end() !=
                                std::find(watch_->Targets.begin(), watch_->Targets.end(), originalDock)) {
            bar_->dockRow_ = originalRow;
            bar_->dockPos_ = originalPos;
            originalDock->SetCommitNewPositions();
            if (bar_->Parent() != originalDock)
                bar_->SetParent(originalDock);
            else
                originalDock->ArrangeToolbars();
        } else if (originalFloating) {
            bar_->floatingPosition_ = originalFloatPos;
            if (!bar_->floating_)
                bar_->SetFloating(true);
            else
                bar_->PlaceFloatingWindow();
        }
    }
    if (!*alive) return;
    bar_->holdFloatParent_ = false;
    if (!bar_->floating_) bar_->FreeFloatingParent();
    if (bar_->useLastDock_ && bar_->currentDock_) bar_->SetLastDock(bar_->currentDock_);
}

void TBarCustomDockableWindow::BeginMoving(int InitX, int InitY) {
    TBarMoveLoop loop(this);
    loop.Run(InitX, InitY);
}

void TBarCustomDockableWindow::BeginSizing(int Corner) {
    if (!floating_ || !floatParent_ || !resizable_) return;
    auto alive = alive_;
    TBarFloatingWindowParent* parent = floatParent_;
    HWND window = parent->Handle();
    SizeBegin();
    ProcessPaintMessages();
    const bool smooth = smoothDrag_ && DragFullWindows();
    const bool left = Corner == 0 || Corner == 3 || Corner == 6;
    const bool right = Corner == 1 || Corner == 4 || Corner == 7;
    const bool top = Corner == 2 || Corner == 3 || Corner == 4;
    const bool bottom = Corner == 5 || Corner == 6 || Corner == 7;
    const TRect startRect = ScreenRectOf(parent);
    const TRect frame = parent->FrameSize();
    const int frameW = frame.Left + frame.Right, frameH = frame.Top + frame.Bottom;
    int minW = 0, minH = 0, maxW = 0, maxH = 0;
    GetMinMaxSize(minW, minH, maxW, maxH);
    minW += frameW;
    minH += frameH;
    if (maxW > 0) maxW += frameW;
    if (maxH > 0) maxH += frameH;
    POINT startCursor{};
    GetCursorPos(&startCursor);
    TRect rect = startRect;
    bool accepted = false;
    {
        TDragOutline outline(!smooth);
        TMouseCaptureScope capture(window);
        TCursorClip clip;
        if (clipCursorWhileSizing_ && !UsingMultipleMonitors()) clip.Clip(GetRectOfPrimaryMonitor(false));
        TSize border;
        GetFloatingBorderSize(border);
        outline.Show(&rect, border);
        TPoint last(startCursor);
        MSG msg{};
        for (;;) {
            if (FetchLoopMessage(window, msg) != lfMessage || !*alive) break;
            bool done = false;
            switch (msg.message) {
                case WM_LBUTTONUP:
                    accepted = done = true;
                    break;
                case WM_KEYDOWN:
                    if (msg.wParam == VK_ESCAPE) done = true;
                    break;
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK:
                    break;
                case WM_MOUSEMOVE: {
                    const TPoint cursor(msg.pt);
                    if (cursor == last) break;
                    last = cursor;
                    const int dx = cursor.X - startCursor.x, dy = cursor.Y - startCursor.y;
                    TRect next = startRect;
                    if (left) next.Left += dx;
                    if (right) next.Right += dx;
                    if (top) next.Top += dy;
                    if (bottom) next.Bottom += dy;
                    auto limit = [](LONG& moving, LONG fixed, bool movingIsLow, int size) {
                        moving = movingIsLow ? fixed - size : fixed + size;
                    };
                    if (next.Width() < minW)
                        limit(left ? next.Left : next.Right, left ? next.Right : next.Left, left, minW);
                    if (maxW > 0 && next.Width() > maxW)
                        limit(left ? next.Left : next.Right, left ? next.Right : next.Left, left, maxW);
                    if (next.Height() < minH)
                        limit(top ? next.Top : next.Bottom, top ? next.Bottom : next.Top, top, minH);
                    if (maxH > 0 && next.Height() > maxH)
                        limit(top ? next.Top : next.Bottom, top ? next.Bottom : next.Top, top, maxH);
                    SizeChangingRect(next);
                    rect = next;
                    if (smooth) {
                        FloatingSizeChanging(rect.Width() - frameW, rect.Height() - frameH);
                        floatingPosition_ = rect.TopLeft();
                        parent->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
                        ++arranging_;
                        TWinControl::SetBounds(0, 0, rect.Width() - frameW, rect.Height() - frameH);
                        --arranging_;
                    } else {
                        outline.Show(&rect, border);
                    }
                    break;
                }
                default:
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                    break;
            }
            if (done || !*alive) break;
        }
    }
    if (!*alive) return;
    SizeEnd();
    if (!accepted) rect = startRect;
    if (floatParent_ != parent) return;
    BeginUpdate();
    FloatingSizeChanging(rect.Width() - frameW, rect.Height() - frameH);
    floatingPosition_ = rect.TopLeft();
    parent->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    TWinControl::SetBounds(0, 0, rect.Width() - frameW, rect.Height() - frameH);
    SizeChanging(rect.Width() - frameW, rect.Height() - frameH);
    EndUpdate();
    MoveOnScreen(true);
}

bool TBarCustomDockableWindow::TrackButton(HWND CaptureWindow, const TRect& ScreenRect, bool& Pressed,
                                           const std::function<void()>& Redraw) {
    auto alive = alive_;
    bool result = false;
    {
        TMouseCaptureScope capture(CaptureWindow);
        POINT p{};
        GetCursorPos(&p);
        Pressed = ScreenRect.Contains(p);
        Redraw();
        MSG msg{};
        for (;;) {
            if (FetchLoopMessage(CaptureWindow, msg) != lfMessage || !*alive) break;
            bool done = false;
            if (IsOtherButtonMessage(msg.message)) continue;
            switch (msg.message) {
                case WM_LBUTTONUP:
                    result = ScreenRect.Contains(TPoint(msg.pt));
                    done = true;
                    break;
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK:
                    done = true;
                    break;
                case WM_KEYDOWN:
                case WM_KEYUP:
                    break;
                case WM_MOUSEMOVE: {
                    const bool inside = ScreenRect.Contains(TPoint(msg.pt));
                    if (inside != Pressed) {
                        Pressed = inside;
                        Redraw();
                    }
                    break;
                }
                default:
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                    break;
            }
            if (done || !*alive) break;
        }
    }
    if (*alive) {
        Pressed = false;
        Redraw();
    }
    return result;
}
