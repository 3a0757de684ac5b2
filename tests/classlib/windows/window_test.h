// Shared by the window tests: a fixture that catches what reaches the
// application's exception handler and message boxes, message pumping with a
// deadline, and a control that records the component messages it receives.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/windows/application.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/forms.h"
#include "tests/support/pump.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = TExceptionEvent(this, &WindowTest::Caught);
        Application->MessageBoxHandler = TMessageBoxHandler(this, &WindowTest::Box);
    }
    void TearDown() override {
        Pump();
        Application->OnException = nullptr;
        Application->MessageBoxHandler = nullptr;
        Application->OnIdle = nullptr;
    }

    void Caught(TObject*, const Exception& E) { exceptions.push_back(E.Message()); }
    int Box(const std::wstring& Text, const std::wstring&, UINT) {
        boxes.push_back(ToAnsi(Text));
        return IDOK;
    }

    static void Pump() { Application->ProcessMessages(); }

    // A form of the test's own (no form resource), freed with the fixture.
    TForm* NewForm(int Left = 100, int Top = 100, int Width = 300, int Height = 200) {
        TForm* form = Create<TForm>(nullptr, 0);
        form->SetBounds(Left, Top, Width, Height);
        forms_.emplace_back(form);
        return form;
    }

    std::vector<std::string> exceptions;
    std::vector<std::string> boxes;

private:
    std::vector<TOwned<TForm>> forms_;
};

// Counts the messages a control receives, through a WindowProc link.
class MessageLog {
public:
    explicit MessageLog(TControl* Control) : control_(Control) {
        Control->AddWindowProcLink(TControl::TWindowProcLink(this, &MessageLog::Link));
    }
    ~MessageLog() { control_->RemoveWindowProcLink(TControl::TWindowProcLink(this, &MessageLog::Link)); }
    int Count(UINT Msg) const {
        int n = 0;
        for (const auto& m : messages_) n += m.Msg == Msg;
        return n;
    }
    const std::vector<TMessage>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }

private:
    void Link(TMessage& Message, const TControl::TWindowProcNext& Next) {
        messages_.push_back(Message);
        Next(Message);
    }
    TControl* control_;
    std::vector<TMessage> messages_;
};

// A windowed control that paints itself in one colour.
class TColorBox : public TCustomControl {
    VX_CLASS(TColorBox, TCustomControl)
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A graphic control that paints itself in one colour.
class TColorShape : public TGraphicControl {
    VX_CLASS(TColorShape, TGraphicControl)
public:
    explicit TColorShape(TComponent* AOwner) : TGraphicControl(AOwner) {
        SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};
