#include "skins/sbfloating.h"

#include "classlib/windows/themes.h"
#include "skins/barpainters.h"
#include "skins/sbitemsunit.h"
#include "skins/sbtoolbar.h"
#include "skins/skincaption.h"
#include "skins/skinglyphs.h"
#include "skins/skinmanager.h"
#include "toolbar/bardockable.h"
#include "toolbar/barprint.h"

namespace {
// Visual-styles window parts: the small close button.
constexpr int kSmallCloseButtonPart = 19;
}  // namespace

void TSbFloatingWindowParent::PaintCloseButton(TCanvas* Canvas, const TRect& R) {
    const bool pressed = closeHot_ && GetKeyState(VK_LBUTTON) < 0;
    switch (CurrentSkinType()) {
        case sknNone: {
            RECT r = R;
            DrawFrameControl(Canvas->Handle(), &r, DFC_CAPTION,
                             DFCS_CAPTIONCLOSE | (pressed ? DFCS_PUSHED : 0));
            return;
        }
        case sknWindows: {
            const int state = pressed ? 3 : closeHot_ ? 2 : 1;
            if (ThemeServices()->DrawElement(Canvas->Handle(), {teWindow, kSmallCloseButtonPart, state}, R))
                return;
            RECT r = R;
            DrawFrameControl(Canvas->Handle(), &r, DFC_CAPTION,
                             DFCS_CAPTIONCLOSE | (pressed ? DFCS_PUSHED : 0));
            return;
        }
        case sknSkin:
            break;
    }
    std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
    if (!skin) return;
    const TSbSkinStatesType state = TSbSkinOptions::GetState(true, pressed, closeHot_, false);
    skin->PaintBackground(Canvas, R, skncToolbarItem, state, true, true, false);
    TColor color = skin->GetTextColor(skncWindowTitleBar, state);
    if (color == clNone) color = skin->GetTextColor(skncToolbarItem, state);
    DrawGlyphPattern(Canvas, R, sgpClose, color);
}

void TSbFloatingWindowParent::DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn, int RedrawWhat) {
    auto* bar = dynamic_cast<TSbToolbar*>(DockableWindow());
    if (!HandleAllocated() || !bar) {
        inherited::DrawNCArea(DrawToDC, DC, Rgn, RedrawWhat);
        return;
    }
    TNCPaintDC paint(Handle(), DrawToDC ? DC : nullptr, Rgn);
    const TRect window = paint.Bounds();
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(paint.Get());
    const bool active = !bar->InactiveCaption();
    const TRect frame = FrameSize();
    {
        TSaveDC saved(paint.Get());
        ExcludeClipRect(paint.Get(), frame.Left, frame.Top, window.Right - frame.Right,
                        window.Bottom - frame.Bottom);
        if (RedrawWhat & dpBorder)
            PaintWindowFrame(canvas.get(), TRect(0, 0, window.Right, window.Bottom), 3, active);
    }
    if (bar->ShowCaption()) {
        const TRect caption = GetCaptionRect(true, false);
        if (RedrawWhat & dpCaption) {
            PaintWindowCaption(canvas.get(), caption, active);
            std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
            TRect text(caption.Left + 2, caption.Top, caption.Right, caption.Bottom);
            if (bar->CloseButton()) text.Right -= GetSystemMetrics(SM_CXSMSIZE) + 2;
            if (TFont* font = SbSmallCaptionFont()) canvas->SetFont(font);
            canvas->Font()->SetColor(
                skin ? skin->GetTextColor(skncWindowTitleBar, active ? sknsNormal : sknsDisabled)
                     : clCaptionText);
            canvas->Brush()->SetStyle(bsClear);
            DrawCaptionText(canvas.get(), bar->Caption(), text,
                            DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_HIDEPREFIX);
        }
        if (bar->CloseButton() && (RedrawWhat & (dpCaption | dpCloseButton))) {
            const int side = caption.Height() - 4;
            const TRect button(caption.Right - 2 - side, caption.Top + 2, caption.Right - 2,
                               caption.Top + 2 + side);
            PaintCloseButton(canvas.get(), button);
        }
    }
    canvas->SetHandle(nullptr);
}

void TSbFloatingWindowParent::SetCloseHot(bool Value) {
    if (closeHot_ == Value) return;
    closeHot_ = Value;
    if (HandleAllocated()) DrawNCArea(false, nullptr, nullptr, dpCloseButton);
}

void TSbFloatingWindowParent::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCMOUSEMOVE: {
            RECT window{};
            GetWindowRect(Handle(), &window);
            const TPoint p(Message.XPos() - window.left, Message.YPos() - window.top);
            SetCloseHot(GetCloseButtonRect(true).Contains(p));
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, Handle(), 0};
            TrackMouseEvent(&track);
            break;
        }
        case WM_NCMOUSELEAVE:
        case CM_MOUSELEAVE:
            SetCloseHot(false);
            break;
        case WM_ACTIVATEAPP:
            inherited::WndProc(Message);
            if (HandleAllocated()) DrawNCArea(false, nullptr, nullptr, dpBorder | dpCaption | dpCloseButton);
            return;
        case WM_ERASEBKGND:
            Message.Result = 1;
            return;
        case CM_SHOWINGCHANGED:
            // The caption shown is the toolbar's wide one.
            if (Showing() && HandleAllocated()) SetWindowTextW(Handle(), L"");
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}
