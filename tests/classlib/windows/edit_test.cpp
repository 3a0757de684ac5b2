// The edit box: typed characters pass OnKeyPress, which may drop them;
// OnChange for every change of the text; a password character set on a live
// window; read-only and maximum length; and the text surviving the window.
#include "classlib/edit.h"

#include "tests/classlib/windows/stdctrls_test.h"

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
