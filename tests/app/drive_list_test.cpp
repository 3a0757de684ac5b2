// The drive list as a person uses it with real input: a drive chosen with
// the arrow keys shows its details as a click does, and a click on another
// drive reads that drive once, not once for the selection and again for the
// click.
#include <memory>

#include "app/program.h"
#include "app/program_units.h"
#include "classlib/stdctrls/label.h"
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

TEST_F(DriveList, ArrowKeysShowTheChosenDriveAndAClickReadsItOnce) {
    ASSERT_EQ(Serial(), "SerialNumber: 5VM1ABCD");
    // How often showing one drive's details opens a device.
    ClickRow(0);
    counting->Opens = 0;
    MainForm->lvDrvListClick(MainForm->lvDrvList);
    const int once = counting->Opens;
    ASSERT_GT(once, 0);

    ASSERT_TRUE(MainForm->lvDrvList->Focused());
    // The list may spend the first arrow on placing its focused row.
    for (int tries = 0; tries < 3 && MainForm->lvDrvList->ItemIndex() != 1; ++tries) {
        stdctrls_test::PressKeys({VK_DOWN});
        Settle();
    }
    ASSERT_EQ(MainForm->lvDrvList->ItemIndex(), 1);
    EXPECT_EQ(Serial(), "SerialNumber: WD-WCAV51234567");

    counting->Opens = 0;
    ClickRow(2);
    EXPECT_EQ(MainForm->lvDrvList->ItemIndex(), 2);
    EXPECT_NE(Serial(), "SerialNumber: WD-WCAV51234567");
    EXPECT_EQ(counting->Opens, once);
    // A click on the drive already shown reads it again, as it always did.
    counting->Opens = 0;
    ClickRow(2);
    EXPECT_EQ(counting->Opens, once);
}
