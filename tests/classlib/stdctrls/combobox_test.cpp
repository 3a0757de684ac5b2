// The combo box: a choice the user makes fires OnClick then OnSelect (or,
// without OnSelect, OnChange), typing fires OnChange, setting ItemIndex
// fires nothing; the items stay in step with the window and survive it.
#include "classlib/stdctrls/combobox.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

struct Events {
    std::vector<std::string> seen;
    TCustomComboBox* combo = nullptr;
    void Click(TObject*) { seen.push_back("click " + combo->Text()); }
    void Select(TObject*) { seen.push_back("select " + combo->Text()); }
    void Change(TObject*) { seen.push_back("change " + combo->Text()); }
};

class ComboBox : public WindowTest {
protected:
    TComboBox* NewCombo(TComboBoxStyle style) {
        TForm* form = NewForm(40, 40, 300, 200);
        auto* combo = Create<TComboBox>(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 180, 21);
        combo->SetStyle(style);
        for (const char* text : {"Show message", "Send mail", "Never show message"})
            combo->Items()->Add(text);
        form->Show();
        SetForegroundWindow(form->Handle());
        combo->SetFocus();
        Pump();
        return combo;
    }
};

}  // namespace

TEST_F(ComboBox, TheUsersChoiceClicksThenSelects) {
    TComboBox* combo = NewCombo(csDropDownList);
    Events events;
    events.combo = combo;
    combo->OnClick = TNotifyEvent(&events, &Events::Click);
    combo->OnSelect = TNotifyEvent(&events, &Events::Select);
    combo->OnChange = TNotifyEvent(&events, &Events::Change);
    combo->SetItemIndex(0);
    EXPECT_TRUE(events.seen.empty()) << "the program's choice fires nothing";
    PressKeys({VK_DOWN});
    ASSERT_TRUE(PumpUntil([&] { return events.seen.size() == 2; }));
    EXPECT_EQ(events.seen, (std::vector<std::string>{"click Send mail", "select Send mail"}));
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(ComboBox, WithoutOnSelectAChoiceFiresOnChange) {
    TComboBox* combo = NewCombo(csDropDown);
    Events events;
    events.combo = combo;
    combo->OnChange = TNotifyEvent(&events, &Events::Change);
    PressKeys({VK_DOWN});
    ASSERT_TRUE(PumpUntil([&] { return !events.seen.empty(); }));
    EXPECT_EQ(events.seen, std::vector<std::string>{"change Show message"})
        << "the new text is already there";
    events.seen.clear();
    PressKeys({VK_END});
    TypeText("x");
    ASSERT_TRUE(PumpUntil([&] { return !events.seen.empty(); }));
    EXPECT_EQ(events.seen, std::vector<std::string>{"change Show messagex"});
}

TEST_F(ComboBox, ADropDownListsTextChoosesTheItem) {
    TComboBox* combo = NewCombo(csDropDownList);
    combo->SetText("Never show message");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetText("Nothing like it");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
}

TEST_F(ComboBox, ItemsFollowEditsAndOutliveTheWindow) {
    TComboBox* combo = NewCombo(csDropDownList);
    combo->Items()->Delete(1);
    combo->Items()->Insert(0, "First");
    combo->Items()->Add("Spare");
    combo->Items()->SetStrings(3, "Last");
    combo->SetItemIndex(3);
    auto windowItems = [&] {
        std::vector<std::wstring> items;
        const int count = static_cast<int>(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[64] = {};
            SendMessageW(combo->Handle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    };
    const std::vector<std::wstring> expected{L"First", L"Show message", L"Never show message", L"Last"};
    ASSERT_EQ(combo->Items()->Count(), 4);
    EXPECT_EQ(windowItems(), expected);
    EXPECT_EQ(combo->Text(), "Last");
    combo->RecreateWnd();
    EXPECT_EQ(windowItems(), expected);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), "Last");
    combo->Items()->Clear();
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(combo->ItemIndex(), -1);
}
