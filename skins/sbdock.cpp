#include "skins/sbdock.h"

#include "classlib/windows/themes.h"
#include "skins/barpainters.h"
#include "skins/sbtoolbar.h"
#include "skins/skinmanager.h"
#include "skins/skinpaint.h"

TSbDock::TSbDock(TComponent* AOwner) : inherited(AOwner) {
    SetColor(clNone);
}

void TSbDock::AfterConstruction() {
    inherited::AfterConstruction();
    if (TSbSkinManager* manager = SkinManager()) manager->AddSkinNotification(this);
}

void TSbDock::BeforeDestruction() {
    RemoveSkinNotification(this);
    inherited::BeforeDestruction();
}

void TSbDock::DrawBackground(HDC DC, const TRect& DrawRect) {
    if (ComponentState().Contains(csDestroying)) return;
    ++paintCount_;
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(DC);
    bool paintDefault = true;
    if (OnDrawBackground) OnDrawBackground(this, canvas.get(), DrawRect, sdbBefore, paintDefault);
    if (paintDefault) {
        if (Color() != clNone) {
            FillRectSkin(canvas.get(), DrawRect, Color());
        } else {
            switch (CurrentSkinType()) {
                case sknNone:
                    FillRectSkin(canvas.get(), DrawRect, clBtnFace);
                    break;
                case sknWindows:
                    if (!ThemeServices()->DrawElement(DC, {teRebar, 0, 0}, DrawRect))
                        FillRectSkin(canvas.get(), DrawRect, clBtnFace);
                    break;
                case sknSkin:
                    if (std::shared_ptr<TSbSkinOptions> skin = CurrentSkin())
                        skin->PaintBackground(canvas.get(), DrawRect, skncDock, sknsNormal, true, true,
                                              Vertical());
                    break;
            }
        }
    }
    bool ignored = true;
    if (OnDrawBackground) OnDrawBackground(this, canvas.get(), DrawRect, sdbAfter, ignored);
    canvas->SetHandle(nullptr);
}

void TSbDock::Resized() {
    if (Width() == oldWidth_ && Height() == oldHeight_) return;
    oldWidth_ = Width();
    oldHeight_ = Height();
    if (!HandleAllocated()) return;
    // Growing as well as shrinking: right-aligned items follow the far end.
    for (TBarCustomDockableWindow* bar : std::vector<TBarCustomDockableWindow*>(DockList()))
        if (auto* toolbar = dynamic_cast<TSbToolbar*>(bar)) toolbar->DockResized();
    for (int i = 0; i < ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(Controls(i));
        if (!control || !control->HandleAllocated()) continue;
        RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        // Embedded controls keep their pixels: nothing of theirs changed.
        if (auto* toolbar = dynamic_cast<TSbToolbar*>(control)) toolbar->ValidateControlItems();
    }
}

void TSbDock::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case SM_SKINCHANGE:
            if (HandleAllocated())
                RedrawWindow(Handle(), nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            return;
        case WM_SIZE:
            inherited::WndProc(Message);
            Resized();
            return;
        default:
            break;
    }
    inherited::WndProc(Message);
}
