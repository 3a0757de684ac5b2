// A real window showing one view: the stand-in for the toolbar and popup
// windows that host views, painting them and passing timers and
// accessibility requests on.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "tests/support/pump.h"
#include "toolbar/barview.h"

class TTestViewWindow : public TCustomControl {
    VX_CLASS(TTestViewWindow, TCustomControl)
public:
    explicit TTestViewWindow(TComponent* AOwner) : inherited(AOwner) {}
    TBarView* View = nullptr;

    void Paint() override {
        if (View) View->DrawSubitems(Canvas());
    }
    void WndProc(TMessage& Message) override {
        if (View && Message.Msg == WM_TIMER) {
            View->TimerFired(Message.WParam);
            return;
        }
        if (View && Message.Msg == WM_GETOBJECT) {
            bool handled = false;
            const LRESULT result = View->HandleGetObject(Message, handled);
            if (handled) {
                Message.Result = result;
                return;
            }
        }
        inherited::WndProc(Message);
    }
};

class ViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        form_ = Create<TForm>(nullptr, 0);
        form_->SetBounds(120, 120, 420, 260);
        window_ = Create<TTestViewWindow>(form_);
        window_->SetBounds(10, 10, 380, 200);
        window_->SetParent(form_);
        root_ = Create<TBarRootItem>(form_);
    }
    void TearDown() override {
        if (view_) view_->Free();
        view_ = nullptr;
        form_->Free();
        Application->ProcessMessages();
    }
    TBarCustomItem* Add(const std::string& Caption, TBarCustomItem* Parent = nullptr) {
        auto* item = Create<TBarCustomItem>(form_);
        item->SetCaption(Caption);
        (Parent ? Parent : root_)->Add(item);
        return item;
    }
    TBarCustomItem* AddSeparator() {
        auto* item = Create<TBarSeparatorItem>(form_);
        root_->Add(item);
        return item;
    }
    template <class View = TBarView>
    View* MakeView(bool Toolbar) {
        auto* view = Create<View>(nullptr, nullptr, root_, window_, Toolbar, false, Toolbar);
        view_ = view;
        window_->View = view;
        return view;
    }
    void ShowForm() {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        Application->ProcessMessages();
    }

    TForm* form_ = nullptr;
    TTestViewWindow* window_ = nullptr;
    TBarCustomItem* root_ = nullptr;
    TBarView* view_ = nullptr;
};
