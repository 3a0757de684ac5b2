// The drive list as a person uses it with real input: a drive chosen with
// the arrow keys shows its details as a click does, and a click on another
// drive fills its page once, not once for the selection and again for the
// click.
#include <memory>

#include "app/program.h"
#include "app/program_units.h"
#include "app/settings.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/stdctrls/pagecontrol.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "platform/drive_access.h"
#include "tests/app/program_fixture.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"
#include "tests/support/pump.h"

namespace {

// The drive access in force, counting the devices the GUI thread opens (the
// refresh worker reads drives as well, on its own thread).
class TCountingAccess : public TDriveAccess {
public:
    explicit TCountingAccess(std::shared_ptr<TDriveAccess> Inner) : inner_(std::move(Inner)) {}
    TOsFamily OsFamily() override { return inner_->OsFamily(); }
    std::unique_ptr<TDeviceHandle> Open(const std::string& path, uint32_t access, uint32_t share,
                                        uint32_t creation) override {
        if (GetCurrentThreadId() == gui_) ++Opens;
        return inner_->Open(path, access, share, creation);
    }
    uint32_t LastError() override { return inner_->LastError(); }
    std::string ErrorText(uint32_t error) override { return inner_->ErrorText(error); }
    bool AnswersWmi() const override { return inner_->AnswersWmi(); }
    int WmiQuery(const std::wstring& query, const std::wstring& propName, std::string& value) override {
        return inner_->WmiQuery(query, propName, value);
    }
    int Opens = 0;

private:
    std::shared_ptr<TDriveAccess> inner_;
    const DWORD gui_ = GetCurrentThreadId();
};

// Counts the rows a list view window is given, whoever gives them.
class TRowInsertCounter {
public:
    explicit TRowInsertCounter(HWND List) : list_(List) {
        Rows = 0;
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TRowInsertCounter::Proc)));
    }
    ~TRowInsertCounter() { SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_)); }
    TRowInsertCounter(const TRowInsertCounter&) = delete;
    TRowInsertCounter& operator=(const TRowInsertCounter&) = delete;
    static inline int Rows = 0;

private:
    static LRESULT CALLBACK Proc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
        if (Message == LVM_INSERTITEMA || Message == LVM_INSERTITEMW) ++Rows;
        return CallWindowProcW(old_, Window, Message, W, L);
    }
    HWND list_;
    static inline WNDPROC old_ = nullptr;
};

// A while for input and the paint it causes to go through.
void Settle() {
    PumpUntil([] { return false; }, 200);
}

class DriveList : public ProgramTest {
protected:
    void SetUp() override {
        StartWithExampleDrives();
        MainForm->Show();
        SetForegroundWindow(MainForm->Handle());
        Settle();
        counting = std::make_shared<TCountingAccess>(CurrentDriveAccess());
        SetDriveAccess(counting);
    }
    void TearDown() override { FreeProgramForms(); }

    // A real click on the middle of a row of the drive list.
    void ClickRow(int Row) {
        RECT r{};
        r.left = LVIR_LABEL;
        ASSERT_TRUE(SendMessageW(MainForm->lvDrvList->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(Row),
                                 reinterpret_cast<LPARAM>(&r)));
        stdctrls_test::ClickAt(
            MainForm->lvDrvList->ClientToScreen(TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2)));
        Settle();
    }
    std::string Serial() const { return MainForm->lbl1->Caption(); }

    const TProgramUnits units;
    std::shared_ptr<TCountingAccess> counting;
};

}  // namespace

TEST_F(DriveList, ArrowKeysShowTheChosenDriveAndAClickFillsThePageOnce) {
    ASSERT_EQ(Serial(), "SerialNumber: 5VM1ABCD");
    ClickRow(0);
    ASSERT_TRUE(MainForm->lvDrvList->Focused());
    // The list may spend the first arrow on placing its focused row.
    for (int tries = 0; tries < 3 && MainForm->lvDrvList->ItemIndex() != 1; ++tries) {
        stdctrls_test::PressKeys({VK_DOWN});
        Settle();
    }
    ASSERT_EQ(MainForm->lvDrvList->ItemIndex(), 1);
    EXPECT_EQ(Serial(), "SerialNumber: WD-WCAV51234567");
    // The pages show the last reading: choosing a drive never waits for one.
    EXPECT_EQ(counting->Opens, 0);

    // A click that selects a drive fills the Monitor page's list once, not
    // once for the selection and again for the click.
    MainForm->pgc1->SetActivePageIndex(1);
    Settle();
    TRowInsertCounter inserted(MainForm->lv1->Handle());
    ClickRow(3);
    ASSERT_EQ(MainForm->lvDrvList->ItemIndex(), 3);
    const int byClick = TRowInsertCounter::Rows;
    TRowInsertCounter::Rows = 0;
    MainForm->lvDrvListClick(MainForm->lvDrvList);
    const int once = TRowInsertCounter::Rows;
    ASSERT_GT(once, 0);
    EXPECT_EQ(byClick, once);
    // A click on the drive already shown fills it again, as it always did.
    TRowInsertCounter::Rows = 0;
    ClickRow(3);
    EXPECT_EQ(TRowInsertCounter::Rows, once);
}

TEST_F(DriveList, TheFirstArrowKeyMovesFromTheDriveShownAtStart) {
    MainForm->lvDrvList->SetFocus();
    Settle();
    stdctrls_test::PressKeys({VK_DOWN});
    Settle();
    EXPECT_EQ(MainForm->lvDrvList->ItemIndex(), 1);
}

TEST_F(DriveList, AnAttributeChosenWithTheKeyboardShowsItsStoredAction) {
    MainForm->pgc1->SetActivePageIndex(2);
    MainForm->lvDrvListClick(MainForm->lvDrvList);
    Settle();
    TListView* attributes = MainForm->lv2;
    ASSERT_GT(attributes->Items()->Count(), 3);
    const std::string name = attributes->Items()->Item(3)->Caption();
    OpenDriveSettings(MainForm->lvDrvList->Selected()->Caption(), true)->WriteString(name, "Reboot Computer");

    attributes->SetFocus();
    for (int tries = 0; tries < 6 && attributes->ItemIndex() != 3; ++tries) {
        stdctrls_test::PressKeys({VK_DOWN});
        Settle();
    }
    ASSERT_EQ(attributes->ItemIndex(), 3);
    EXPECT_TRUE(MainForm->rb4->Checked());
    EXPECT_FALSE(MainForm->rb1->Checked());
}
