#include "controls/sclabel.h"

#include <algorithm>
#include <numbers>
#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/graphics/handles.h"
#include "classlib/services/osversion.h"
#include "classlib/services/shellservice.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/screen.h"
#include "controls/scblinking.h"
#include "controls/sctext.h"
#include "controls/scurllabel.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"
#include "tests/controls/controls_fixture.h"

namespace {

class ScLabelTest : public ControlsTest {
protected:
    TScLabel* NewLabel(const std::string& Caption = "Disk 0") {
        auto* label = Create<TScLabel>(form);
        label->SetParent(form);
        label->SetBounds(20, 20, 100, 20);
        label->SetCaption(Caption);
        return label;
    }
    // The text's own size in the label's font, as the screen measures it.
    static TSize TextSize(TScLabel* Label) {
        TWindowDC screen;
        TSelectObject font(screen.Get(), Label->Font()->Handle());
        const std::wstring text = Label->WideCaption();
        RECT r{};
        DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
        return TSize{r.right, r.bottom};
    }
    // How many pixels of the label's area show Color on the painted form.
    int PixelsOf(TScLabel* Label, TColor Color) {
        TOwned<TBitmap> shot(Create<TBitmap>());
        shot->SetSize(form->ClientWidth(), form->ClientHeight());
        form->PaintTo(shot->Canvas()->Handle(), 0, 0);
        int n = 0;
        for (int y = Label->Top(); y < Label->Top() + Label->Height(); ++y)
            for (int x = Label->Left(); x < Label->Left() + Label->Width(); ++x)
                n += shot->PixelColor(x, y) == static_cast<TColor>(ColorToRGB(Color));
        return n;
    }
};

TEST(ScLabelAngles, AreNormalisedToAFullTurn) {
    struct Row {
        int given, kept;
    };
    const Row rows[] = {
        {0, 0},      {45, 45},  {359, 359}, {360, 0}, {370, 10},  // a positive angle is taken modulo 360
        {-30, 330},  {-360, 0},                                   // a negative one gets a turn added
        {-400, 320},  // even beyond one turn: the result stays within 0..359
        {1090, 10},
    };
    for (const Row& row : rows) EXPECT_EQ(NormalizeAngle(row.given), row.kept) << row.given;
}

TEST_F(ScLabelTest, AnAngleTurnsTheLabelAndRotationResetsIt) {
    TScLabel* label = NewLabel();
    label->SetAngle(-30);
    EXPECT_EQ(label->Angle(), 330);
    EXPECT_EQ(label->Rotation(), roFlat);
    label->SetRotation(roNone);
    EXPECT_EQ(label->Angle(), 0);
    label->SetCenterPoint(cpUpperLeft);
    label->SetRotation(roCurve);
    label->SetAngle(90);
    EXPECT_EQ(label->Rotation(), roCurve);
    label->SetRotation(roFlat);
    EXPECT_EQ(label->Angle(), 0);
    EXPECT_EQ(label->CenterPoint(), cpCenter);
}

TEST_F(ScLabelTest, AutoSizeAddsTheFrameOnTheDrawnSides) {
    TScLabel* label = NewLabel();
    const TSize text = TextSize(label);
    EXPECT_EQ(label->Width(), text.cx);
    EXPECT_EQ(label->Height(), text.cy);

    label->SetBorderOuter(fsFlat);     // 1
    label->SetBorderInner(fsLowered);  // 2
    label->SetBorderWidth(3);
    EXPECT_EQ(label->Width(), text.cx + 2 * 6);
    EXPECT_EQ(label->Height(), text.cy + 2 * 6);
    label->SetBorderSides({sdLeft});
    EXPECT_EQ(label->Width(), text.cx + 6);
    EXPECT_EQ(label->Height(), text.cy);

    label->SetBorderSides({});
    label->SetTextStyle(tsShadow);
    label->SetShadowDepth(4);
    EXPECT_EQ(label->Width(), text.cx + 4);
    EXPECT_EQ(label->Height(), text.cy + 4);

    label->SetTextStyle(tsNormal);
    label->SetAngle(90);
    EXPECT_EQ(label->Width(), text.cy);
    EXPECT_EQ(label->Height(), text.cx);
}

TEST(ScLabelCurve, EachLetterTurnsToTheNearestTenthOfADegree) {
    struct Row {
        double radians;
        int tenths;
    };
    const Row rows[] = {
        {0.0, 0},     {std::numbers::pi / 2, 900}, {0.1, 57},  // 5.73 degrees: whole degrees would give 60
        {-0.05, -29},                                          // -2.86 degrees: whole degrees would give -30
        {1.0, 573},
    };
    for (const Row& row : rows) EXPECT_EQ(CurveEscapement(row.radians), row.tenths) << row.radians;
}

namespace {

// The turns of the fonts a painting selects, in tenths of a degree, read
// back from a metafile the form is painted into.
int CALLBACK CollectEscapement(HDC, HANDLETABLE*, const ENHMETARECORD* Record, int, LPARAM Data) {
    if (Record->iType == EMR_EXTCREATEFONTINDIRECTW) {
        const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(Record);
        reinterpret_cast<std::vector<int>*>(Data)->push_back(font->elfw.elfLogFont.lfEscapement);
    }
    return 1;
}

std::vector<int> PaintedEscapements(TForm* Form) {
    struct Metafile {
        HENHMETAFILE handle;
        ~Metafile() { DeleteEnhMetaFile(handle); }
    };
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    Form->PaintTo(dc, 0, 0);
    const Metafile file{CloseEnhMetaFile(dc)};
    std::vector<int> found;
    EnumEnhMetaFile(nullptr, file.handle, CollectEscapement, &found, nullptr);
    return found;
}

}  // namespace

TEST_F(ScLabelTest, CurvedLettersAreDrawnTurnedToTenthsOfADegree) {
    TScLabel* label = NewLabel("Curved text");
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 120, 80);
    label->Font()->SetName("Arial");
    label->SetRotation(roCurve);
    label->SetAngle(60);
    std::vector<int> turned;
    for (int escapement : PaintedEscapements(form))
        if (escapement != 0) turned.push_back(escapement);
    ASSERT_GE(turned.size(), 5u) << "one turned font per letter";
    EXPECT_EQ(turned.front(), 600) << "the first letter at the label's angle";
    // The letters step round the arc by a width over a radius, which is no
    // whole number of degrees.
    EXPECT_TRUE(std::any_of(turned.begin(), turned.end(), [](int Tenths) { return Tenths % 10 != 0; }));
    EXPECT_TRUE(std::is_sorted(turned.rbegin(), turned.rend())) << "turning one way along the arc";
}

TEST_F(ScLabelTest, ARightAlignedLabelKeepsItsRightEdge) {
    TScLabel* label = NewLabel();
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("A much longer caption");
    EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(ScLabelTest, BlinkingLabelsChangeColourTogether) {
    TScLabel* a = NewLabel();
    TScLabel* b = NewLabel();
    TScLabel* still = NewLabel();
    a->Font()->SetColor(clBlack);
    for (TScLabel* each : {a, b}) {
        each->SetBlinkColor(clRed);
        each->SetBlinking(true);
    }
    a->SetBlinkIntervalOn(300);
    b->SetBlinkIntervalOff(200);
    EXPECT_EQ(b->BlinkIntervalOn(), 300) << "the intervals are shared";
    EXPECT_EQ(a->BlinkIntervalOff(), 200);

    TTimer* timer = BlinkingControlsList->Timer();
    const bool onNext = !BlinkingControlsList->State();
    timer->TickForTest();
    const TColor expected = onNext ? clRed : clBlack;
    EXPECT_EQ(a->TextColor(), expected);
    EXPECT_EQ(b->TextColor(), onNext ? clRed : b->Font()->Color());
    EXPECT_EQ(still->TextColor(), still->Font()->Color());
    EXPECT_EQ(timer->Interval(), onNext ? 300u : 200u);
    timer->TickForTest();
    EXPECT_EQ(a->TextColor(), onNext ? clBlack : clRed);

    // Stopping brings the text colour back at once, whatever the phase.
    if (a->TextColor() != clRed) timer->TickForTest();
    a->SetBlinking(false);
    EXPECT_EQ(a->TextColor(), clBlack);
}

TEST_F(ScLabelTest, TheBlinkingListLivesAsLongAsTheLabels) {
    TScLabel* label = NewLabel();
    ASSERT_NE(BlinkingControlsList, nullptr);
    ASSERT_EQ(BlinkingControlsList->Count(), 1);
    label->Free();
    EXPECT_EQ(BlinkingControlsList, nullptr);
}

TEST_F(ScLabelTest, FlyByColourLastsWhileTheMouseIsOver) {
    TScLabel* label = NewLabel();
    label->Font()->SetColor(clNavy);
    label->Perform(CM_MOUSEENTER);
    EXPECT_EQ(label->TextColor(), clNavy) << "off by default";
    label->Perform(CM_MOUSELEAVE);
    label->SetFlyByEnabled(true);
    label->SetFlyByColor(clLime);
    label->Perform(CM_MOUSEENTER);
    EXPECT_EQ(label->TextColor(), clLime);
    label->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(label->TextColor(), clNavy);
}

TEST_F(ScLabelTest, TheFrameControllerFramesTheLabel) {
    TScLabel* label = NewLabel();
    TOwned<TScFrameController> controller(Create<TScFrameController>(nullptr));
    controller->SetFrameStyle(fsRaised);
    controller->SetFrameColor(clRed);
    label->SetFrameController(controller.get());
    EXPECT_EQ(label->BorderOuter(), fsNone) << "nothing while the controller's frame is hidden";
    controller->SetFrameVisible(true);
    EXPECT_EQ(label->BorderOuter(), fsRaised);
    EXPECT_EQ(label->FlatColor(), clRed);
    EXPECT_EQ(label->FlatColorAdjustment(), 0);

    label->SetFrameControllerNotifications({fcpFrameSides});
    controller->SetFrameStyle(fsBump);
    controller->SetFrameSides({sdTop});
    EXPECT_EQ(label->BorderOuter(), fsRaised);
    EXPECT_EQ(label->BorderSides(), TSides{sdTop});

    controller.reset();
    EXPECT_EQ(label->FrameController(), nullptr);

    TOwned<TScFrameController> second(Create<TScFrameController>(nullptr));
    label->SetFrameController(second.get());
    label->Free();
    EXPECT_EQ(second->ControlCount(), 0);
}

TEST_F(ScLabelTest, AnOldFrameSidesListIsReadAndDropped) {
    TScLabel* label = NewLabel();
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    {
        TOwned<TWriter> writer(Create<TWriter>(stream.get()));
        writer->WriteStr("FrameSides");
        writer->WriteListBegin();
        writer->WriteString("sdLeft");
        writer->WriteString("sdTop");
        writer->WriteListEnd();
        writer->WriteStr("Left");
        writer->WriteInteger(7);
        writer->WriteListEnd();
    }
    stream->SetPosition(0);
    ReadObjectProperties(stream.get(), label);
    EXPECT_EQ(label->Left(), 7) << "what follows the old list is read as before";
    EXPECT_EQ(label->BorderSides(), AllSides);

    TOwned<TMemoryStream> saved(Create<TMemoryStream>());
    WriteObjectProperties(saved.get(), label);
    const std::string bytes(static_cast<const char*>(saved->Memory()), static_cast<size_t>(saved->Size()));
    EXPECT_EQ(bytes.find("FrameSides"), std::string::npos);
}

TEST_F(ScLabelTest, CurvedTextNeedsRoomForItsArc) {
    TScLabel* label = NewLabel("Curved");
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 120, 80);
    label->Font()->SetName("Arial");
    label->Font()->SetColor(clRed);
    label->SetColor(clWhite);
    label->SetRotation(roCurve);
    label->SetAngle(60);
    EXPECT_GT(PixelsOf(label, clRed), 0);

    // Border wider than a quarter of the label: both radii go below zero.
    label->SetBorderWidth(40);
    EXPECT_EQ(PixelsOf(label, clRed), 0);
}

TEST_F(ScLabelTest, TurnedTextStaysInsideTheLabel) {
    TScLabel* label = NewLabel("Turned text");
    label->Font()->SetName("Arial");
    label->Font()->SetColor(clRed);
    label->SetColor(clWhite);
    for (int angle : {30, 90, 135, 180, 270, 315}) {
        label->SetAutoSize(true);
        label->SetAngle(angle);
        const int inside = PixelsOf(label, clRed);
        EXPECT_GT(inside, 0) << angle;
        // Room all round shows no more of the text: none was cut off.
        const TRect fitted = label->BoundsRect();
        label->SetAutoSize(false);
        label->SetBounds(fitted.Left - 15, fitted.Top - 15, fitted.Width() + 30, fitted.Height() + 30);
        EXPECT_NEAR(PixelsOf(label, clRed), inside, inside / 20 + 2) << angle;
        label->SetBounds(fitted.Left, fitted.Top, fitted.Width(), fitted.Height());
    }
}

// --- URL labels

class TRecordingShell : public TShellService {
public:
    bool Execute(HWND, const std::string&, const std::string&, const std::string&, const std::string&,
                 int) override {
        return false;
    }
    bool ExecuteEx(ULONG Mask, HWND, const std::string& Verb, const std::string& File, const std::string&,
                   const std::string&, int ShowCmd) override {
        opened.push_back(File);
        lastMask = Mask;
        lastVerb = Verb;
        lastShow = ShowCmd;
        return succeed;
    }
    bool Run(const std::string& CommandLine, int) override {
        ran.push_back(CommandLine);
        return true;
    }
    std::vector<std::string> opened, ran;
    ULONG lastMask = 0;
    std::string lastVerb;
    int lastShow = 0;
    bool succeed = true;
};

class ScURLLabelTest : public ScLabelTest {
protected:
    TScURLLabel* NewURLLabel(const std::string& Caption) {
        auto* label = Create<TScURLLabel>(form);
        label->SetParent(form);
        label->SetCaption(Caption);
        return label;
    }
    TRecordingShell shell;
    TServiceOverride<TShellService> shellInForce{shell};
};

TEST_F(ScURLLabelTest, OpensItsAddressAndTurnsVisited) {
    TScURLLabel* label = NewURLLabel("Home page");
    EXPECT_EQ(label->Font()->Color(), clHighlight);
    EXPECT_TRUE(label->Font()->Style().Contains(fsUnderline));
    label->SetURL("  http://example.invalid/  ");
    label->Click();
    EXPECT_EQ(shell.opened, std::vector<std::string>{"http://example.invalid/"});
    EXPECT_EQ(shell.lastMask, 0x540u);
    EXPECT_EQ(shell.lastVerb, "Open");
    EXPECT_EQ(shell.lastShow, SW_SHOWNORMAL);
    EXPECT_TRUE(label->Visited());
    EXPECT_EQ(label->Font()->Color(), 0x800080);
    EXPECT_EQ(label->TextColor(), 0x800080);
}

TEST_F(ScURLLabelTest, WithoutAnAddressTheCaptionIsOpened) {
    TScURLLabel* label = NewURLLabel(" readme.htm ");
    label->SetURL("   ");
    label->Click();
    EXPECT_EQ(shell.opened, std::vector<std::string>{"readme.htm"});

    TScURLLabel* blank = NewURLLabel("  ");
    blank->Click();
    EXPECT_EQ(shell.opened.size(), 1u) << "nothing to open";
}

TEST_F(ScURLLabelTest, AFailedPageOffersTheOpenWithChoice) {
    shell.succeed = false;
    TScURLLabel* page = NewURLLabel("index.HTM");
    page->Click();
    EXPECT_FALSE(page->Visited());
    EXPECT_EQ(shell.ran, std::vector<std::string>{"RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm"});
    TScURLLabel* other = NewURLLabel("notes.txt");
    other->Click();
    EXPECT_EQ(shell.ran.size(), 1u);
}

TEST_F(ScURLLabelTest, TabFocusesTheLinkWhichShowsItAndEnterOrSpaceOpensIt) {
    auto* before = Add<TColorBox>(10, 150, 40, 20);
    before->SetTabStop(true);
    // Enter goes to the link, not to the form's default button.
    auto* fallback = Add<TButton>(200, 150, 80, 25);
    fallback->SetTabStop(false);
    fallback->SetDefault(true);
    int fallbacks = 0;
    struct Counter {
        int& count;
        void Clicked(TObject*) { ++count; }
    } counter{fallbacks};
    fallback->OnClick = TNotifyEvent(&counter, &Counter::Clicked);
    TScURLLabel* label = NewURLLabel("Home page");
    label->SetURL("http://example.invalid/");
    label->SetLeft(40);
    SetForegroundWindow(form->Handle());
    before->SetFocus();
    Pump();
    // The label's outline on the painted form.
    auto outline = [&] {
        TOwned<TBitmap> shot(Create<TBitmap>());
        shot->SetSize(form->ClientWidth(), form->ClientHeight());
        form->PaintTo(shot->Canvas()->Handle(), 0, 0);
        std::vector<TColor> pixels;
        for (int x = label->Left(); x < label->Left() + label->Width(); ++x)
            for (int y : {label->Top(), label->Top() + label->Height() - 1})
                pixels.push_back(shot->PixelColor(x, y));
        return pixels;
    };
    const std::vector<TColor> unfocused = outline();

    stdctrls_test::PressKeys({VK_TAB});
    ASSERT_TRUE(PumpUntil([label] { return label->Focused(); })) << "Tab reaches the link";
    EXPECT_EQ(GetFocus(), label->FocusWindow()->Handle());
    EXPECT_NE(outline(), unfocused) << "a focus rectangle shows";
    stdctrls_test::PressKeys({VK_RETURN});
    ASSERT_TRUE(PumpUntil([&] { return shell.opened.size() == 1; })) << "Enter opens";
    EXPECT_EQ(fallbacks, 0);
    stdctrls_test::PressKeys({VK_SPACE});
    ASSERT_TRUE(PumpUntil([&] { return shell.opened.size() == 2; })) << "Space opens";
    EXPECT_EQ(shell.opened.back(), "http://example.invalid/");
    EXPECT_TRUE(label->Visited());

    stdctrls_test::PressKeys({VK_TAB});
    ASSERT_TRUE(PumpUntil([before] { return before->Focused(); }));
    label->SetVisited(false);
    EXPECT_EQ(outline(), unfocused) << "the rectangle goes with the focus";
    // A hidden link is no stop.
    label->Hide();
    EXPECT_FALSE(label->FocusWindow()->CanFocus());
}

class TFixedVersion : public TOSVersionService {
public:
    TFixedVersion(DWORD Platform, DWORD Major, DWORD Minor) : info_{Platform, Major, Minor, 0, ""} {}
    TOSVersionInfo Version() override { return info_; }

private:
    TOSVersionInfo info_;
};

TEST_F(ScURLLabelTest, ShowsTheSystemHandOrOnOldSystemsItsOwn) {
    const HCURSOR system = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    const HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), L"SCCOMMON_HANDCURSOR");
    ASSERT_NE(own, nullptr) << "the program carries the hand cursor";
    {
        TFixedVersion nt4(VER_PLATFORM_WIN32_NT, 4, 0);
        TServiceOverride<TOSVersionService> old(nt4);
        EXPECT_EQ(NewURLLabel("x")->Cursor(), crScHand);
        EXPECT_EQ(Screen->Cursors(crScHand), own);
    }
    TFixedVersion xp(VER_PLATFORM_WIN32_NT, 5, 1);
    TServiceOverride<TOSVersionService> current(xp);
    NewURLLabel("y");
    EXPECT_EQ(Screen->Cursors(crScHand), system);
}

}  // namespace
