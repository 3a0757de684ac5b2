// Shared by the dock and bar tests: a bar whose content is a plain size, a
// form with docks on its sides, input sent from a helper thread, and the
// usual pumping with a deadline.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "tests/support/pump.h"
#include "toolbar/bardock.h"
#include "toolbar/bardockable.h"
#include "toolbar/barfloating.h"

// A bar that wants a fixed client size; with a shrink mode it may be shorter.
class TTestBar : public TBarCustomDockableWindow {
    VX_CLASS(TTestBar, TBarCustomDockableWindow)
public:
    explicit TTestBar(TComponent* AOwner) : TBarCustomDockableWindow(AOwner) {}
    TSize Want{60, 22};
    TBarShrinkMode Shrink = tbsmNone;
    int MinShrink = 0;
    int MinClientWidth = 0, MaxClientWidth = 0;
    int arrangeCalls = 0;

    void DoArrange(bool, TBarDockType, TSize& NewSize, TBarDock*) override {
        ++arrangeCalls;
        NewSize = Want;
    }
    void GetBaseSize(TSize& Size) override { Size = Want; }
    TBarShrinkMode GetShrinkMode() override { return Shrink; }
    void GetMinShrinkSize(int& Size) override { Size = MinShrink; }
    void GetMinMaxSize(int& MinW, int& MinH, int& MaxW, int& MaxH) override {
        MinW = MinClientWidth;
        MinH = 0;
        MaxW = MaxClientWidth;
        MaxH = 0;
    }
};

class BarTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = TExceptionEvent(this, &BarTest::Caught);
    }
    void TearDown() override {
        Pump();
        forms_.clear();
        Pump();
        Application->OnException = nullptr;
        EXPECT_TRUE(exceptions.empty()) << exceptions.front();
    }
    void Caught(TObject*, const Exception& E) { exceptions.push_back(E.Message()); }
    static void Pump() { Application->ProcessMessages(); }

    TForm* NewForm(int Left = 100, int Top = 100, int Width = 400, int Height = 300) {
        TForm* form = Create<TForm>(nullptr, 0);
        form->SetBounds(Left, Top, Width, Height);
        forms_.emplace_back(form);
        return form;
    }
    TBarDock* NewDock(TForm* Form, TBarDockPosition Position) {
        auto* dock = Create<TBarDock>(Form);
        dock->SetPosition(Position);
        dock->SetParent(Form);
        return dock;
    }
    TTestBar* NewBar(TForm* Form, TBarDock* Dock, int Row = 0, int Pos = 0, TSize Want = {60, 22}) {
        auto* bar = Create<TTestBar>(Form);
        bar->Want = Want;
        bar->SetDockRow(Row);
        bar->SetDockPos(Pos);
        bar->SetParent(Dock);
        return bar;
    }
    // A shown, active form with a top dock.
    TForm* ShownForm() {
        TForm* form = NewForm();
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        return form;
    }

    std::vector<std::string> exceptions;

private:
    std::vector<TOwned<TForm>> forms_;
};

// Real input from another thread, so that the GUI thread can sit in a modal
// loop meanwhile.
class InputScript {
public:
    InputScript& Move(TPoint P) {
        steps_.push_back([P] {
            SetCursorPos(P.X, P.Y);
            Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, P);
        });
        return *this;
    }
    InputScript& Down(TPoint P) {
        steps_.push_back([P] { Mouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE, P); });
        return *this;
    }
    InputScript& Up(TPoint P) {
        steps_.push_back([P] { Mouse(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE, P); });
        return *this;
    }
    InputScript& Key(WORD Vk, bool Down) {
        steps_.push_back([Vk, Down] {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = Vk;
            input.ki.dwFlags = Down ? 0 : KEYEVENTF_KEYUP;
            SendInput(1, &input, sizeof input);
        });
        return *this;
    }
    InputScript& Do(std::function<void()> Step) {
        steps_.push_back(std::move(Step));
        return *this;
    }
    // Plays the steps 60 ms apart on a helper thread while this thread pumps.
    bool Play(int Milliseconds = 8000) {
        std::atomic<bool> done{false};
        std::thread player([&] {
            for (auto& step : steps_) {
                Sleep(60);
                step();
            }
            Sleep(60);
            done = true;
        });
        const bool ok = PumpUntil([&] { return done.load(); }, Milliseconds);
        player.join();
        Application->ProcessMessages();
        return ok;
    }

    // One mouse event at a screen point, sent at once.
    static void Mouse(DWORD Flags, TPoint P) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(P.X, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(P.Y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = Flags;
        SendInput(1, &input, sizeof input);
    }

private:
    std::vector<std::function<void()>> steps_;
};

inline TRect ScreenRect(HWND Wnd) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    return r;
}
