// The edit box: typed characters pass KeyPress and OnKeyPress, which may
// change or drop them, in any script and from an input method; OnChange for
// every change of the text; a password character set on a live window;
// read-only and maximum length; and the text surviving the window.
#include "classlib/stdctrls/edit.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"
#include "tests/support/code_page.h"

#include <imm.h>

using namespace stdctrls_test;

namespace {

struct DigitsOnly {
    int changes = 0, clicks = 0;
    void Click(TObject*) { ++clicks; }
    void KeyPress(TObject*, char& Key) {
        if (Key < '0' || Key > '9') Key = 0;
    }
    void Change(TObject*) { ++changes; }
};

// An edit that filters keys in its overrides: 'a' becomes 'b', 'x' is
// dropped; every key seen is recorded.
class TFilteringEdit : public TCustomEdit {
    VX_CLASS(TFilteringEdit, TCustomEdit)
public:
    using TCustomEdit::TCustomEdit;
    std::vector<std::string> seen;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override {
        seen.push_back("down " + std::to_string(Key));
        inherited::KeyDown(Key, Shift);
    }
    void KeyPress(char& Key) override {
        seen.push_back(std::string("press ") + Key);
        if (Key == 'a') Key = 'b';
        if (Key == 'x') Key = 0;
        if (Key) inherited::KeyPress(Key);
    }
    void KeyUp(WORD& Key, TShiftState Shift) override {
        seen.push_back("up " + std::to_string(Key));
        inherited::KeyUp(Key, Shift);
    }
};

struct KeyHandler {
    std::string pressed;
    void KeyPress(TObject*, char& Key) { pressed += Key; }
};

// The ways a character reaches an edit: typed, finished by an input method
// one by one, or as the result of a composition.
void Typed(HWND Window, const std::wstring& Text) {
    for (wchar_t c : Text) SendMessageW(Window, WM_CHAR, c, 0);
}

void ImeChars(HWND Window, const std::wstring& Text) {
    for (wchar_t c : Text) SendMessageW(Window, WM_IME_CHAR, c, 0);
}

void Composed(HWND Window, const std::wstring& Text) {
    HIMC context = ImmGetContext(Window);
    ASSERT_TRUE(context);
    ImmSetOpenStatus(context, TRUE);
    std::wstring text = Text;
    ImmSetCompositionStringW(context, SCS_SETSTR, text.data(),
                             static_cast<DWORD>(text.size() * sizeof(wchar_t)), nullptr, 0);
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(Window, context);
}

class Edit : public WindowTest {
protected:
    TEdit* NewEdit() {
        TForm* form = NewForm(40, 40, 300, 120);
        auto* edit = Create<TEdit>(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 200, 24);
        form->Show();
        SetForegroundWindow(form->Handle());
        edit->SetFocus();
        Pump();
        return edit;
    }
};

}  // namespace

TEST_F(Edit, OnKeyPressDropsTypedCharacters) {
    TEdit* edit = NewEdit();
    DigitsOnly filter;
    edit->OnKeyPress = TKeyPressEvent(&filter, &DigitsOnly::KeyPress);
    edit->OnChange = TNotifyEvent(&filter, &DigitsOnly::Change);
    TypeText("2a1b");
    ASSERT_TRUE(PumpUntil([&] { return edit->Text() == "21"; })) << edit->Text();
    EXPECT_EQ(filter.changes, 2) << "only the kept characters change the text";
}

TEST_F(Edit, KeyOverridesRunWithOrWithoutAHandler) {
    TForm* form = NewForm(40, 40, 300, 120);
    auto* edit = Create<TFilteringEdit>(form);
    edit->SetParent(form);
    HWND window = edit->Handle();
    for (wchar_t c : std::wstring(L"axc")) SendMessageW(window, WM_CHAR, c, 0);
    SendMessageW(window, WM_KEYDOWN, VK_F2, 0);
    SendMessageW(window, WM_KEYUP, VK_F2, 0);
    EXPECT_EQ(edit->Text(), "bc");
    EXPECT_EQ(edit->seen, (std::vector<std::string>{"press a", "press x", "press c", "down 113", "up 113"}));

    // A handler hears what the override let through, as it changed it.
    KeyHandler handler;
    edit->OnKeyPress = TKeyPressEvent(&handler, &KeyHandler::KeyPress);
    for (wchar_t c : std::wstring(L"axd")) SendMessageW(window, WM_CHAR, c, 0);
    EXPECT_EQ(handler.pressed, "bd");
    EXPECT_EQ(edit->Text(), "bcbd");
}

TEST_F(Edit, EveryCharacterAsTypedOrComposedReachesTheTextAndADigitFilterRefusesLetters) {
    ExpectTheRunsCodePage();
    TEdit* edit = NewEdit();
    HWND window = edit->Handle();
    // Two bytes each in 932 and 936 (the u with diaeresis none in 932, one
    // in 1252), and a letter beyond 16 bits, which comes as two halves.
    const std::wstring letters = L"\u65E5\u672C\u3000\u00FC\U00020B9F";
    const struct {
        const char* Way;
        void (*Send)(HWND, const std::wstring&);
    } ways[] = {{"typed", Typed}, {"input method", ImeChars}, {"composed", Composed}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Way);
        const std::wstring whole = L"A" + letters + L"B";
        edit->SetText("");
        way.Send(window, whole);
        PumpUntil([&] { return edit->GetWideText() == whole; });
        EXPECT_EQ(edit->GetWideText(), whole);

        DigitsOnly filter;
        edit->OnKeyPress = TKeyPressEvent(&filter, &DigitsOnly::KeyPress);
        edit->SetText("");
        way.Send(window, L"1" + letters + L"2");
        PumpUntil([&] { return edit->GetWideText().ends_with(L"2"); });
        EXPECT_EQ(edit->GetWideText(), L"12");
        edit->OnKeyPress = nullptr;
    }
}

TEST_F(Edit, OnChangeFollowsEveryChangeOfTheText) {
    TEdit* edit = NewEdit();
    DigitsOnly events;
    edit->OnChange = TNotifyEvent(&events, &DigitsOnly::Change);
    edit->SetText("40");
    EXPECT_EQ(events.changes, 1);
    edit->SetText("40");
    EXPECT_EQ(events.changes, 1) << "the same text is no change";
    PressKeys({VK_END});
    TypeText("1");
    ASSERT_TRUE(PumpUntil([&] { return events.changes == 2; }));
    EXPECT_EQ(edit->Text(), "401");
}

TEST_F(Edit, AClickOnTheBoxFiresOnClickOnce) {
    TEdit* edit = NewEdit();
    DigitsOnly events;
    edit->OnClick = TNotifyEvent(&events, &DigitsOnly::Click);
    ClickAt(edit->ClientToScreen(Point(20, 8)));
    ASSERT_TRUE(PumpUntil([&] { return events.clicks > 0; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(events.clicks, 1);
}

TEST_F(Edit, APasswordCharacterSetOnALiveWindowHidesTheText) {
    TEdit* edit = NewEdit();
    edit->SetText("secret");
    HWND window = edit->Handle();
    edit->SetPasswordChar('*');
    EXPECT_EQ(edit->Handle(), window);
    EXPECT_EQ(SendMessageW(window, EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(edit->Text(), "secret");
    edit->SetPasswordChar(0);
    EXPECT_EQ(SendMessageW(window, EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST_F(Edit, ReadOnlyAndMaximumLengthHoldAgainstTyping) {
    TEdit* edit = NewEdit();
    edit->SetMaxLength(3);
    TypeText("12345");
    ASSERT_TRUE(PumpUntil([&] { return edit->Text() == "123"; })) << edit->Text();
    edit->SetReadOnly(true);
    TypeText("9");
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(edit->Text(), "123");
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(Edit, TextAndStateOutliveTheWindow) {
    TEdit* edit = NewEdit();
    edit->SetText("kept");
    edit->SetPasswordChar('#');
    edit->SetReadOnly(true);
    edit->RecreateWnd();
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'#');
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
}
