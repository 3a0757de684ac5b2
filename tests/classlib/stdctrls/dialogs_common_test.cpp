// The common dialogs, answered through their own windows: the colour dialog
// gives back the colour on OK and keeps it on Cancel; the save dialog gives
// the typed name, in any letters, with the default extension.
#include "classlib/stdctrls/dialogs_common.h"

#include "classlib/core/text.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"

namespace {

// Waits for the dialog, lets Act work on it, and cancels it should it still
// be there later.
std::thread AnswerDialog(std::function<void(HWND)> Act) {
    return std::thread([Act] {
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !(dialog && IsWindowVisible(dialog)); ++i) {
            Sleep(10);
            dialog = FindWindowW(L"#32770", nullptr);
        }
        if (!dialog) return;
        Sleep(100);
        Act(dialog);
        for (int i = 0; i < 300 && IsWindow(dialog); ++i) Sleep(10);
        if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

// The file name box: a combo box in the explorer dialog, an edit in the old
// one (<dlgs.h> calls them cmb13 and edt1).
constexpr int FileNameCombo = 0x47C;
constexpr int FileNameEdit = 0x480;

void Press(HWND dialog, int button) {
    PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

using Dialogs = WindowTest;

}  // namespace

TEST_F(Dialogs, TheColourDialogGivesTheColourOnOkAndKeepsItOnCancel) {
    TOwned<TColorDialog> dialog(Create<TColorDialog>(nullptr));
    dialog->SetColor(static_cast<TColor>(0x00CCCC00));
    std::thread ok = AnswerDialog([](HWND d) { Press(d, IDOK); });
    EXPECT_TRUE(dialog->Execute());
    ok.join();
    EXPECT_EQ(dialog->Color(), static_cast<TColor>(0x00CCCC00));

    dialog->SetColor(clRed);
    std::thread cancel = AnswerDialog([](HWND d) { Press(d, IDCANCEL); });
    EXPECT_FALSE(dialog->Execute());
    cancel.join();
    EXPECT_EQ(dialog->Color(), clRed);
}

TEST_F(Dialogs, TheSaveDialogGivesTheTypedNameWithTheDefaultExtension) {
    TOwned<TSaveDialog> dialog(Create<TSaveDialog>(nullptr));
    dialog->SetDefaultExt("csv");
    dialog->SetFilter("CSV File (*.csv)|*.csv|Binary File (*.dat)|*.dat");
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // Named in letters the code page cannot spell.
    const std::wstring typed = std::wstring(temp) + L"vexmora-save-\u0436\u0443\u0440\u043d\u0430\u043b";
    std::thread answer = AnswerDialog([typed](HWND d) {
        if (!SetDlgItemTextW(d, FileNameCombo, typed.c_str()))
            SetDlgItemTextW(d, FileNameEdit, typed.c_str());
        Press(d, IDOK);
    });
    ASSERT_TRUE(dialog->Execute());
    answer.join();
    EXPECT_TRUE(SameText(dialog->FileName(), ToAnsi(typed) + ".csv")) << dialog->FileName();
    EXPECT_TRUE(dialog->WideFileName() == typed + L".csv") << ToAnsi(dialog->WideFileName());
    EXPECT_EQ(dialog->FilterIndex(), 1);
}
