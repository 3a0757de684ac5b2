// The Preference page and Apply as a user meets them: the poll time takes
// effect when saved, an untouched OK keeps run-at-logon and "AutoRun", tray
// colours (black too) are stored only for the drives given one, and Apply
// adds and removes drives from monitoring with their icons.
#include "app/settings.h"
#include "classlib/core/files.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/dialogs_common.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/spinedit.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/timer.h"
#include "controls/scbitbtn.h"
#include "controls/scgroup.h"
#include "notify/texttrayicon.h"
#include "tests/app/program_fixture.h"
#include "tests/app/stored_settings.h"

namespace {

// Answers the colour dialog: confirms with the queued colour, or cancels
// when none is queued.
class ScriptedColors : public TColorChooser {
public:
    std::vector<COLORREF> answers;
    std::vector<COLORREF> shownFirst;
    bool Choose(CHOOSECOLORW& Record) override {
        shownFirst.push_back(Record.rgbResult);
        if (answers.empty()) return false;
        Record.rgbResult = answers.front();
        answers.erase(answers.begin());
        return true;
    }
};

void OpenPreferences() {
    auto* item = static_cast<TScGroupItem*>(MainForm->MainGroup->Items()->Items(3));
    item->OnClick(item);
}

void PressOK() {
    MainForm->btnOptionClick(MainForm->BitBtnOption);
}

void ChooseColor(int Item) {
    MainForm->cbDriveColor->SetItemIndex(Item);
    MainForm->cbDriveColorSelect(MainForm->cbDriveColor);
    MainForm->btnColorClick(MainForm->BitBtnColor);
}

bool SettingPresent(const std::string& Name) {
    return OpenSettings(true)->ValueExists(Name);
}

class Preferences : public ProgramTest {
protected:
    ScriptedColors colors;
    TServiceOverride<TColorChooser> colorOverride{colors};
};

}  // namespace

TEST_F(Preferences, SavedPollTimeStartsAndStopsThePollAtOnce) {
    StartWithExampleDrives();
    EXPECT_FALSE(MainForm->tmr2->Enabled());
    OpenPreferences();
    EXPECT_EQ(MainForm->seTime->Value(), 0);
    EXPECT_EQ(MainForm->lblMailAddress->Caption(), "None mail");
    MainForm->seTime->SetValue(5);
    PressOK();
    EXPECT_EQ(ReadSettingInteger("RTimer"), 300000);
    EXPECT_TRUE(MainForm->tmr2->Enabled());
    EXPECT_EQ(MainForm->tmr2->Interval(), 300000u);

    MainForm->seTime->SetValue(0);
    PressOK();
    EXPECT_EQ(ReadSettingInteger("RTimer"), 0);
    EXPECT_FALSE(MainForm->tmr2->Enabled());

    // The box stops where minutes x 60000 still fits an Integer.
    MainForm->seTime->SetValue(1000000);
    PressOK();
    EXPECT_EQ(ReadSettingInteger("RTimer"), 35791 * 60000);
    EXPECT_TRUE(MainForm->tmr2->Enabled());
}

TEST_F(Preferences, NegativeStoredPollTimeReadsAsOff) {
    WriteSettingInteger("RTimer", -60000);
    StartWithExampleDrives();
    EXPECT_FALSE(MainForm->tmr2->Enabled());
    OpenPreferences();
    EXPECT_EQ(MainForm->seTime->Value(), 0);
}

// An older version stored the current folder, unquoted: the box still reads
// it as ticked, and OK puts the program's own file in its place.
TEST_F(Preferences, UntouchedOKKeepsRunAtLogonAutoRunAndTheOtherChoices) {
    auto run = MakeOwned<TRegistry>();
    ASSERT_TRUE(run->OpenKey(RunKey, true));
    run->WriteString(RunValueName, "C:\\Program Files\\Vexmora\\VexmoraU.exe");
    WriteSettingInteger("AutoRun", 1);
    WriteSettingInteger("MessageWhenStart", 1);
    WriteSettingInteger("Log", 0);
    WriteSettingString("ToMail", "admin@example.com");
    StartWithExampleDrives();
    OpenPreferences();
    EXPECT_TRUE(MainForm->chkRWS->Checked());
    EXPECT_TRUE(MainForm->chkAutoRun->Checked());
    EXPECT_TRUE(MainForm->chkSWS->Checked());
    EXPECT_FALSE(MainForm->chkLog->Checked());
    EXPECT_EQ(MainForm->lblMailAddress->Caption(), "admin@example.com");
    PressOK();
    EXPECT_TRUE(ReadWWS());
    EXPECT_EQ(run->ReadString(RunValueName), "\"" + ParamStr(0) + "\"");
    EXPECT_EQ(ReadSettingInteger("AutoRun"), 1);
    EXPECT_EQ(ReadSettingInteger("MessageWhenStart"), 1);
    EXPECT_EQ(ReadSettingInteger("Log"), 0);

    // Unticked by the user, they go.
    MainForm->chkRWS->SetChecked(false);
    MainForm->chkAutoRun->SetChecked(false);
    PressOK();
    EXPECT_FALSE(ReadWWS());
    EXPECT_EQ(ReadSettingInteger("AutoRun"), 0);
}

TEST_F(Preferences, ColoursBlackIncludedAreStoredOnlyForTheDrivesChosen) {
    WriteSettingInteger("FUJITSU MHV2080AH", 255);
    StartWithExampleDrives();
    OpenPreferences();
    colors.answers = {RGB(0, 0, 0)};
    ChooseColor(1);
    EXPECT_EQ(MainForm->edt2->Color(), TColor(0));
    colors.answers = {RGB(0, 128, 255)};
    ChooseColor(3);
    ChooseColor(2);  // cancelled: nothing chosen for it
    EXPECT_EQ(colors.shownFirst.back(), RGB(255, 0, 0)) << "the dialog starts at the stored colour";

    // The list shows each drive's choice again, else its stored colour.
    MainForm->cbDriveColor->SetItemIndex(1);
    MainForm->cbDriveColorSelect(MainForm->cbDriveColor);
    EXPECT_EQ(MainForm->edt2->Color(), TColor(0));
    MainForm->cbDriveColor->SetItemIndex(2);
    MainForm->cbDriveColorSelect(MainForm->cbDriveColor);
    EXPECT_EQ(MainForm->edt2->Color(), TColor(255));

    PressOK();
    EXPECT_FALSE(SettingPresent("ST3500418AS"));
    EXPECT_EQ(ReadTrayColor("WDC WD10EADS-00L5B1"), 0);
    EXPECT_EQ(ReadTrayColor("FUJITSU MHV2080AH"), 255);
    EXPECT_EQ(ReadTrayColor("IC35L120AVV207-0"), static_cast<int>(RGB(0, 128, 255)));
}

TEST_F(Preferences, ApplyAddsAndRemovesDrivesWithTheirIcons) {
    StartWithExampleDrives();  // the first start lists the drives and writes their subkeys
    WriteSettingInteger("WDC WD10EADS-00L5B1", 255);
    StartWithExampleDrives();
    ASSERT_EQ(Checks(), (std::vector<bool>{true, true, true, true}));
    TTextTrayIcon* icon = MainForm->TrayIcons[1];
    ASSERT_NE(icon, nullptr);

    Rows()->Item(1)->SetChecked(false);
    MainForm->ShowSystemTrayItems0Click(nullptr);
    EXPECT_FALSE(OpenSettings(true)->KeyExists(DriveKey("WDC WD10EADS-00L5B1")));
    EXPECT_FALSE(icon->IconVisible());
    EXPECT_TRUE(MainForm->tmr1->Enabled());

    Rows()->Item(1)->SetChecked(true);
    MainForm->ShowSystemTrayItems0Click(nullptr);
    EXPECT_TRUE(OpenSettings(true)->KeyExists(DriveKey("WDC WD10EADS-00L5B1")));
    EXPECT_EQ(MainForm->TrayIcons[1], icon);
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_EQ(icon->Color(), TColor(255));
}

TEST_F(Preferences, ApplyGivesANewlyTickedDriveAnIconInItsStoredColour) {
    WriteSettingInteger("ST3500418AS", 255);
    StartWithExampleDrives();
    ASSERT_EQ(MainForm->TrayIcons[0], nullptr);
    Rows()->Item(0)->SetChecked(true);
    MainForm->ShowSystemTrayItems0Click(nullptr);
    TTextTrayIcon* icon = MainForm->TrayIcons[0];
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_EQ(icon->Color(), TColor(255));
    EXPECT_EQ(icon->Text(), "28");
    EXPECT_EQ(icon->Hint(), "ST3500418AS");
    EXPECT_EQ(icon->Owner(), MainForm->TextTrayIcon1);
    EXPECT_TRUE(Assigned(icon->OnDblClick));
    EXPECT_EQ(MainForm->TrayIcons[1], nullptr);
}
