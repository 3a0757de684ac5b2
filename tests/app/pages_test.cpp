// The main window's pages as a user reaches them through the group bar and
// the drive list: the information labels, the attribute table, the alert
// settings of a drive, the chart and the about page; and the colours and
// weights the lists are drawn in, read back from the screen.
#include "app/settings.h"
#include "classlib/core/streams.h"
#include "classlib/graphics/picture.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/image.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/pagecontrol.h"
#include "classlib/stdctrls/panels.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "controls/scbutton.h"
#include "controls/scgroup.h"
#include "controls/scgroupbar.h"
#include "controls/sclabel.h"
#include "controls/scurllabel.h"
#include "notify/zkscopelines.h"
#include "notify/zksimscope.h"
#include "tests/app/program_fixture.h"
#include "tests/app/stored_settings.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"

namespace {

using Texts = std::vector<std::string>;

// One drive with a raw value beyond 32 bits and the temperature attribute.
const char* const OneDrive = R"(
[drive 0]
wmi model = ST3500418AS
serial = 5VM1ABCD
firmware = CC38
disk size = 500107862016
attribute 0 = 1 0x000F 117 99 6 0x123456789AB
attribute 1 = 9 0x0032 89 89 0 9876
attribute 2 = 194 0x0022 28 45 0 28
)";

Texts LabelTexts(std::initializer_list<TLabel*> Labels) {
    Texts texts;
    for (TLabel* label : Labels) texts.push_back(label->Caption());
    return texts;
}

Texts ListRow(TListView* List, int Row) {
    TListItem* item = List->Items()->Item(Row);
    Texts row{item->Caption()};
    for (int i = 0; i < item->SubItems()->Count(); ++i) row.push_back(item->SubItems()->Strings(i));
    return row;
}

int RowOf(TListView* List, const std::string& Caption) {
    for (int row = 0; row < List->Items()->Count(); ++row)
        if (List->Items()->Item(row)->Caption() == Caption) return row;
    return -1;
}

void ClickItem(TScGroup* Group, int Index) {
    TScGroupItem* item = static_cast<TScGroupItem*>(Group->Items()->Items(Index));
    item->OnClick(item);
}

class Pages : public ProgramTest {
protected:
    // Page 2 for the selected drive, with Attribute chosen in its list.
    void ChooseAttribute(const std::string& Attribute) {
        TListView* list = MainForm->lv2;
        const int row = RowOf(list, Attribute);
        ASSERT_GE(row, 0) << Attribute;
        list->SetItemIndex(row);
        MainForm->lv2Click(list);
    }
    void StoreThreshold(const std::string& Text, const std::string& Action) {
        MainForm->edt1->SetText(Text);
        MainForm->cbMessage->SetItemIndex(MainForm->cbMessage->Items()->IndexOf(Action));
        MainForm->btnNoticeClick(MainForm->btnNotice);
    }
    std::vector<bool> Radios() const {
        return {MainForm->rb1->Checked(), MainForm->rb3->Checked(), MainForm->rb4->Checked(),
                MainForm->rb5->Checked(), MainForm->rb6->Checked()};
    }
};

}  // namespace

TEST_F(Pages, GroupBarHoldsFourOpenGroupsThatSwitchTheHiddenTabPages) {
    StartWithExampleDrives();
    TScGroupBar* bar = MainForm->GroupBar;
    ASSERT_EQ(bar->GetGroupCount(), 4);
    Texts captions;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(bar->GetGroup(i)->Opened());
        EXPECT_FALSE(bar->GetGroup(i)->CanClose());
        captions.push_back(bar->GetGroup(i)->Caption());
    }
    EXPECT_EQ(captions, (Texts{"Main", "Performance", "Show System tray", "About"}));
    for (int i = 0; i < MainForm->pgc1->PageCount(); ++i)
        EXPECT_FALSE(MainForm->pgc1->Pages(i)->TabVisible());

    // Everything sits on the one content panel.
    EXPECT_EQ(MainForm->GroupBar->Parent(), static_cast<TWinControl*>(MainForm->pnlContent));
    EXPECT_EQ(MainForm->Panel1->Parent(), static_cast<TWinControl*>(MainForm->pnlContent));
    EXPECT_EQ(MainForm->ControlCount(), 1);

    EXPECT_EQ(MainForm->pgc1->ActivePageIndex(), 0);
    const std::pair<TScGroup*, int> items[] = {{MainForm->MainGroup, 1},        {MainForm->MainGroup, 2},
                                               {MainForm->MainGroup, 3},        {MainForm->AboutGroup, 0},
                                               {MainForm->PerformanceGroup, 0}, {MainForm->MainGroup, 0}};
    const int pages[] = {1, 2, 3, 4, 5, 0};
    for (size_t i = 0; i < std::size(items); ++i) {
        ClickItem(items[i].first, items[i].second);
        EXPECT_EQ(MainForm->pgc1->ActivePageIndex(), pages[i]);
    }
    EXPECT_TRUE(exceptions.empty());
}

TEST_F(Pages, InformationPageFollowsTheDriveClickedInTheList) {
    StartWithExampleDrives();
    const Texts first = LabelTexts(
        {MainForm->lbl1, MainForm->lbl2, MainForm->lbl3, MainForm->lbl4, MainForm->lbl5, MainForm->lbl15});
    EXPECT_EQ(first, (Texts{"SerialNumber: 5VM1ABCD", "FirmwareRev: CC38", "ModelNumber: ST3500418AS",
                            "PowerCycles: 1012", "Temperature: 28", "Size: 465GB"}));
    // The example drive's hours go on running.
    EXPECT_EQ(MainForm->lbl6->Caption().rfind("HoursRunning: 98", 0), 0u);
    EXPECT_EQ(MainForm->lbl16->Caption().rfind("Manufacture: ", 0), 0u);

    MainForm->lvDrvList->SetItemIndex(1);
    MainForm->lvDrvListClick(MainForm->lvDrvList);
    EXPECT_EQ(MainForm->lbl1->Caption(), "SerialNumber: WD-WCAV51234567");
    EXPECT_EQ(MainForm->lbl15->Caption(), "Size: 931GB");
}

TEST_F(Pages, MonitorPageListsEveryAttributeWithItsWholeRawValue) {
    Start(OneDrive);
    ClickItem(MainForm->MainGroup, 1);
    ASSERT_EQ(MainForm->lv1->Items()->Count(), 3);
    EXPECT_EQ(ListRow(MainForm->lv1, 0),
              (Texts{"Raw Read Error Rate", "6", "117", "99", "1250999896491", "OK"}));
    EXPECT_EQ(ListRow(MainForm->lv1, 2)[0], "Temperature Celcius");
    // Shown again, not appended.
    ClickItem(MainForm->MainGroup, 1);
    EXPECT_EQ(MainForm->lv1->Items()->Count(), 3);
}

TEST_F(Pages, ThresholdIsRefusedUnlessAWholeNumberOfAtLeast21) {
    Start(OneDrive);
    ClickItem(MainForm->MainGroup, 2);
    ChooseAttribute("Temperature Celcius");
    for (const char* refused : {"20", "", "2a1"}) {
        StoreThreshold(refused, "Show message");
        EXPECT_FALSE(OpenDriveSettings("ST3500418AS", false)->ValueExists("Temperature")) << refused;
    }
    EXPECT_EQ(boxes.Texts(), Texts(3, "You should enter number on text"));
    EXPECT_EQ(boxes.Asked()[0].Caption, "Vexmora");
    EXPECT_EQ(boxes.Asked()[0].Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));

    StoreThreshold("21", "Show message");
    EXPECT_EQ(ReadIntegerOr(OpenDriveSettings("ST3500418AS", false).get(), "Temperature", 0), 21);
    EXPECT_EQ(TempThresholds[0], 21);
    EXPECT_EQ(boxes.Texts().size(), 3u);
}

TEST_F(Pages, StoredTemperatureActionAndThresholdShowAgainOnTheNextVisit) {
    Start(OneDrive);
    ClickItem(MainForm->MainGroup, 2);
    EXPECT_EQ(MainForm->lblTempCur->Caption(), "Temperature: 28");
    ChooseAttribute("Temperature Celcius");
    StoreThreshold("40", "Send mail");
    EXPECT_EQ(StoredAction("ST3500418AS", "Temperature Celcius"), "Send mail");

    MainForm->edt1->SetText("");
    MainForm->cbMessage->SetItemIndex(0);
    ClickItem(MainForm->MainGroup, 0);
    ClickItem(MainForm->MainGroup, 2);
    EXPECT_EQ(MainForm->edt1->Text(), "40");
    EXPECT_EQ(MainForm->cbMessage->Text(), "Send mail");
    EXPECT_EQ(MainForm->lv2->Items()->Count(), 3);
}

// A threshold that cannot be read as an integer, as a hand edit may leave
// it, shows as none; it once raised "Failed to get data" at every visit.
TEST_F(Pages, AMalformedStoredThresholdShowsAsNone) {
    const DWORD twoWords[2] = {45, 1};
    PutRaw(OpenDriveSettings("ST3500418AS", true).get(), "Temperature", REG_DWORD, twoWords, 8);
    Start(OneDrive);
    MainForm->edt1->SetText("99");
    ClickItem(MainForm->MainGroup, 2);
    EXPECT_EQ(MainForm->edt1->Text(), "");
    EXPECT_TRUE(exceptions.empty()) << exceptions.front();
    EXPECT_TRUE(boxes.Asked().empty());
}

TEST_F(Pages, RadioButtonsLoadAndStoreEachAttributesOwnAction) {
    Start(OneDrive);
    ClickItem(MainForm->MainGroup, 2);
    ChooseAttribute("Raw Read Error Rate");
    EXPECT_EQ(Radios(), (std::vector<bool>{true, false, false, false, false}));  // the default action
    MainForm->rb4->SetChecked(true);
    MainForm->btnNoticeClick(MainForm->btnNotice);
    EXPECT_EQ(StoredAction("ST3500418AS", "Raw Read Error Rate"), "Reboot Computer");

    ChooseAttribute("Power On Count");
    EXPECT_EQ(Radios(), (std::vector<bool>{true, false, false, false, false}));
    MainForm->rb6->SetChecked(true);
    MainForm->btnNoticeClick(MainForm->btnNotice);

    ChooseAttribute("Raw Read Error Rate");
    EXPECT_EQ(Radios(), (std::vector<bool>{false, false, true, false, false}));
    ChooseAttribute("Power On Count");
    EXPECT_EQ(Radios(), (std::vector<bool>{false, false, false, false, true}));

    // The temperature has its own action list; the buttons do not apply.
    ChooseAttribute("Temperature Celcius");
    for (TRadioButton* button : {MainForm->rb1, MainForm->rb3, MainForm->rb4, MainForm->rb5, MainForm->rb6})
        EXPECT_FALSE(button->Enabled());
    StoreThreshold("50", "Show message");
    EXPECT_EQ(StoredAction("ST3500418AS", "Temperature Celcius"), "Show message");
    ChooseAttribute("Power On Count");
    EXPECT_TRUE(MainForm->rb1->Enabled());
}

TEST_F(Pages, ChartLinesFollowTheRowsAndTheLegendTheirColours) {
    StartWithExampleDrives();
    TZkSimScope* chart = MainForm->PPerformance;
    EXPECT_TRUE(chart->Active());
    ASSERT_EQ(chart->Lines()->Count(), 24);
    EXPECT_EQ(chart->Lines()->Items(0)->Color(), clLime);
    EXPECT_EQ(chart->Lines()->Items(2)->Color(), clRed);
    EXPECT_EQ(chart->Lines()->Items(23)->Color(), TColor(0x00D078ED));
    Texts legend;
    for (int row = 0; row < MainForm->DrvColorList->Items()->Count(); ++row)
        legend.push_back(MainForm->DrvColorList->Items()->Item(row)->Caption());
    EXPECT_EQ(legend, (Texts{"ST3500418AS", "WDC WD10EADS-00L5B1", "FUJITSU MHV2080AH", "IC35L120AVV207-0"}));

    MainForm->lvDrvList->Items()->Item(2)->SubItems()->SetStrings(1, "47");
    MainForm->PPerformanceUpdate(chart);
    std::vector<int> positions;
    for (int k : {0, 1, 2, 3, 4, 23}) positions.push_back(chart->Lines()->Items(k)->Position());
    EXPECT_EQ(positions, (std::vector<int>{28, 35, 47, 58, 0, 0}))
        << "lines without a drive lie on the floor";

    // A second fill keeps the chart running.
    MainForm->FillPerformanceList();
    EXPECT_TRUE(chart->Active());
    EXPECT_EQ(MainForm->DrvColorList->Items()->Count(), 4);
    EXPECT_TRUE(boxes.Asked().empty());
}

TEST_F(Pages, AboutPageShowsTheProgramsOwnVersionAndPicture) {
    StartWithExampleDrives();
    MainForm->Show();
    ClickItem(MainForm->AboutGroup, 0);
    EXPECT_EQ(MainForm->lbl8->Caption(), "Vexmora");
    EXPECT_EQ(MainForm->lblVersion->Caption(), "Version:1.6");
    EXPECT_EQ(MainForm->lbl10->Caption(), "Zantipelle");
    EXPECT_EQ(MainForm->TRR1->URL().rfind("https://", 0), 0u);
    EXPECT_FALSE(MainForm->TRR2->URL().empty());
    EXPECT_EQ(MainForm->img1->Picture()->Width(), 128);
    EXPECT_EQ(MainForm->img1->Picture()->Height(), 128);
}

TEST_F(Pages, TheAboutPictureIsDecodedWhenItsPageFirstShows) {
    StartWithExampleDrives();
    MainForm->Show();
    ClickItem(MainForm->PerformanceGroup, 0);
    ClickItem(MainForm->MainGroup, 0);
    EXPECT_EQ(MainForm->img1->Picture()->Graphic(), nullptr) << "the about page was never shown";
    ClickItem(MainForm->AboutGroup, 0);
    TGraphic* picture = MainForm->img1->Picture()->Graphic();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 128);
    EXPECT_EQ(picture->Height(), 128);
    ClickItem(MainForm->MainGroup, 0);
    ClickItem(MainForm->AboutGroup, 0);
    EXPECT_EQ(MainForm->img1->Picture()->Graphic(), picture) << "decoded once";
}

TEST_F(Pages, ListsAreDrawnInTheirStateColoursAndWeights) {
    StartWithExampleDrives();
    MainForm->Show();
    ClickItem(MainForm->MainGroup, 1);
    // Rows 0 and 1 are looked at unselected.
    MainForm->lvDrvList->SetItemIndex(3);
    Application->ProcessMessages();
    using stdctrls_test::CaptureClient;

    // Reddish and greenish pixels within a cell, and their horizontal span.
    struct Ink {
        int red = 0, green = 0, first = -1, last = -1;
    };
    auto inkOf = [](TBitmap* shot, TListView* list, int row, int right, COLORREF background) {
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        Ink ink;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < std::min<LONG>(r.right, right); ++x) {
                const COLORREF c = ColorToRGB(shot->PixelColor(x, y));
                if (c == background) continue;
                if (GetRValue(c) > GetGValue(c) + 40) ++ink.red;
                if (GetGValue(c) > GetRValue(c) + 40) ++ink.green;
                if (ink.first < 0 || x < ink.first) ink.first = x;
                ink.last = std::max(ink.last, x);
            }
        return ink;
    };
    const COLORREF white = ColorToRGB(clWindow), grey = RGB(0xE0, 0xE0, 0xE0);

    // Drive rows: "OK" green, "Warning" red.
    TOwned<TBitmap> drives = CaptureClient(MainForm->lvDrvList->Handle());
    const Ink fine = inkOf(drives.get(), MainForm->lvDrvList, 0, 178, white);
    const Ink warning = inkOf(drives.get(), MainForm->lvDrvList, 1, 178, white);
    EXPECT_GT(fine.green, 0);
    EXPECT_EQ(fine.red, 0);
    EXPECT_GT(warning.red, 0);
    EXPECT_EQ(warning.green, 0);

    // Attribute rows: even ones on grey; a row that is not fine red and bold.
    MainForm->lvDrvList->SetItemIndex(1);
    MainForm->lvDrvListClick(MainForm->lvDrvList);
    Application->ProcessMessages();
    TListView* lv1 = MainForm->lv1;
    const int failing = RowOf(lv1, "Reallocated Sector Count");
    ASSERT_GE(failing, 0);
    TOwned<TBitmap> attributes = CaptureClient(lv1->Handle());
    const COLORREF failingBackground = failing % 2 == 0 ? grey : white;
    const Ink bad = inkOf(attributes.get(), lv1, failing, 118, failingBackground);
    EXPECT_GT(bad.red, 0);
    EXPECT_EQ(bad.green, 0);
    const int good = failing + 1;
    const Ink fineRow = inkOf(attributes.get(), lv1, good, 118, good % 2 == 0 ? grey : white);
    EXPECT_GT(fineRow.green, 0);
    RECT row0{};
    row0.left = LVIR_LABEL;
    SendMessageW(lv1->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row0));
    EXPECT_EQ(ColorToRGB(attributes->PixelColor(row0.left + 100, row0.top + 2)), grey);

    // Bold: the warning row's caption is as wide as the same DC measures it
    // in bold, the fine row's as wide as in the plain font.
    auto widthOf = [](TListView* list, const std::wstring& text, bool bold) {
        TWindowDC dc(list->Handle());
        LOGFONTW font = list->Font()->LogFont();
        if (bold) font.lfWeight = FW_BOLD;
        TFontHandle handle(CreateFontIndirectW(&font));
        TSelectObject select(dc.Get(), handle.Get());
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    TListView* list = MainForm->lvDrvList;
    ASSERT_GT(widthOf(list, L"WDC WD10EADS-00L5B1", true), widthOf(list, L"WDC WD10EADS-00L5B1", false));
    EXPECT_NEAR(warning.last - warning.first + 1, widthOf(list, L"WDC WD10EADS-00L5B1", true), 2);
    EXPECT_NEAR(fine.last - fine.first + 1, widthOf(list, L"ST3500418AS", false), 2);

    // Legend rows in their chart line's colour: row 2 is red.
    ClickItem(MainForm->PerformanceGroup, 0);
    Application->ProcessMessages();
    TOwned<TBitmap> legend = CaptureClient(MainForm->DrvColorList->Handle());
    EXPECT_GT(inkOf(legend.get(), MainForm->DrvColorList, 2, 380, white).red, 0);
    EXPECT_EQ(inkOf(legend.get(), MainForm->DrvColorList, 2, 380, white).green, 0);
}

TEST(ResourceStream, ReadsTheProgramsOwnDataInPlaceAndRefusesMissingOnes) {
    auto stream = MakeOwned<TResourceStream>(GetModuleHandleA(nullptr), "ABOUTPICTURE");
    ASSERT_GT(stream->Size(), 2);
    unsigned char start[2] = {};
    EXPECT_EQ(stream->Read(start, 2), 2);
    EXPECT_EQ(start[0], 0xFF);  // a JPEG's start-of-image mark
    EXPECT_EQ(start[1], 0xD8);
    EXPECT_EQ(stream->Write(start, 2), 0);
    EXPECT_EQ(stream->Seek(10, soFromEnd), stream->Size());
    EXPECT_EQ(stream->Read(start, 2), 0);
    EXPECT_EQ(stream->Seek(-5, soFromBeginning), 0);
    EXPECT_THROW(MakeOwned<TResourceStream>(GetModuleHandleA(nullptr), "NOSUCHPICTURE"), EResNotFound);
}
