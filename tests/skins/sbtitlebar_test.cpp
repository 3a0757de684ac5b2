// The title bar and status bar as real windows: the form goes borderless,
// maximises into an injected work area, keeps its size when the bar is
// switched off and on, sizes from the frame and the grip, opens the skinned
// system menu by key, swallows the bare key menu, leaks nothing, and every
// skinned toolbar's erase paints its whole background under every skin, in
// line with the dock around it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "classlib/services/systemsettings.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/screen.h"
#include "skin_test_support.h"
#include "skins/builtinskins.h"
#include "skins/sbdock.h"
#include "skins/sbitemsunit.h"
#include "skins/sbstatusbar.h"
#include "skins/sbtitlebar.h"
#include "skins/sbtoolbar.h"
#include "skins/skinmanager.h"
#include "tests/foundation/quarantine.h"
#include "tests/support/pump.h"
#include "tests/toolbar/menu_script.h"
#include "toolbar/baracc.h"

namespace {

// The work area and the taskbar as a test sets them.
class TFakeSettings : public TSystemSettings {
public:
    TRect WorkArea{0, 0, 0, 0};
    UINT HidingEdge = ~0u;  // ABE_*, or none
    int Metric(int Index) override { return GetSystemMetrics(Index); }
    bool ParametersInfo(UINT Action, UINT Param, void* Data, UINT WinIni) override {
        if (Action == SPI_GETWORKAREA && !WorkArea.IsEmpty()) {
            *static_cast<RECT*>(Data) = WorkArea;
            return true;
        }
        return SystemParametersInfoA(Action, Param, Data, WinIni);
    }
    UINT_PTR AppBarMessage(DWORD Message, APPBARDATA* Data) override {
        if (HidingEdge == ~0u) return Message == ABM_GETSTATE ? 0 : FALSE;
        Data->uEdge = HidingEdge;
        return Message == ABM_GETSTATE ? ABS_AUTOHIDE : TRUE;
    }
};

// Rows of pixels that Paint leaves in a Width x Height bitmap first filled
// with Start.
template <class F>
std::vector<COLORREF> PaintInto(int Width, int Height, COLORREF Start, F Paint) {
    HDC screen = GetDC(nullptr);
    TMemoryDC memory(screen);
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen, Width, Height));
    ReleaseDC(nullptr, screen);
    TSelectObject select(memory.Get(), bitmap.Get());
    TBrushHandle fill(CreateSolidBrush(Start));
    RECT all{0, 0, Width, Height};
    FillRect(memory.Get(), &all, fill.Get());
    Paint(memory.Get());
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<size_t>(Width) * static_cast<size_t>(Height));
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) pixels.push_back(GetPixel(memory.Get(), x, y));
    return pixels;
}

// The toolbar's client area erased into a bitmap that first holds Start.
std::vector<COLORREF> EraseInto(TSbToolbar* Bar, COLORREF Start) {
    return PaintInto(Bar->ClientWidth(), Bar->ClientHeight(), Start, [&](HDC DC) {
        SendMessageW(Bar->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    });
}

int Differing(const std::vector<COLORREF>& A, const std::vector<COLORREF>& B) {
    int count = 0;
    for (size_t i = 0; i < A.size() && i < B.size(); ++i) count += A[i] != B[i];
    return count;
}

// Pixels that differ between an erase over black and one over white: the
// ones nobody painted.
int UnpaintedPixels(TSbToolbar* Bar) {
    return Differing(EraseInto(Bar, RGB(0, 0, 0)), EraseInto(Bar, RGB(255, 255, 255)));
}

// What a docked bar's client area must show to be of one piece with what
// lies around it: the dock's own erase, in the dock's place on screen, with
// the skin's body for the bar laid over the bar's whole window, as its frame
// lays it.
std::vector<COLORREF> AroundDockedBar(TSbToolbar* Bar) {
    TBarDock* dock = Bar->CurrentDock();
    const TPoint dockOrigin = dock->ClientToScreen({0, 0});
    const TPoint clientOrigin = Bar->ClientToScreen({0, 0});
    RECT window{};
    GetWindowRect(Bar->Handle(), &window);
    OffsetRect(&window, -dockOrigin.X, -dockOrigin.Y);
    const int dx = clientOrigin.X - dockOrigin.X, dy = clientOrigin.Y - dockOrigin.Y;
    const std::vector<COLORREF> around =
        PaintInto(dock->ClientWidth(), dock->ClientHeight(), RGB(0, 0, 0), [&](HDC DC) {
            SendMessageW(dock->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
            if (CurrentSkinType() != sknSkin) return;
            TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
            canvas->SetHandle(DC);
            CurrentSkin()->PaintBackground(canvas.get(), TRect(window),
                                           Bar->MenuBar() ? skncMenuBar : skncToolbar, sknsNormal, true, true,
                                           dock->Vertical());
            canvas->SetHandle(nullptr);
        });
    std::vector<COLORREF> client;
    for (int y = 0; y < Bar->ClientHeight(); ++y)
        for (int x = 0; x < Bar->ClientWidth(); ++x)
            client.push_back(around[static_cast<size_t>((dy + y) * dock->ClientWidth() + dx + x)]);
    return client;
}

class TitleBar : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Application->Initialize();
        InitSkinsUnit();
        RegisterBuiltInSkins();
        InitSkinnedItemsUnit();
    }
    // The skins unit stays up for the suites after this one.
    static void TearDownTestSuite() {
        SkinManager()->SetSkin("Default");
        FinalizeSkinnedItemsUnit();
    }
    void SetUp() override {
        SkinManager()->SetSkin("Office 2007 Blue");
        form_ = Create<TForm>(nullptr, 0);
        form_->SetBounds(100, 100, 420, 300);
        form_->OnShow = TNotifyEvent(this, &TitleBar::FormShown);
        title_ = Create<TSbTitleBar>(form_);
        title_->SetParent(form_);
        title_->SetCaption(L"Title test ");
        status_ = Create<TSbStatusBar>(form_);
        status_->SetParent(title_);
        label_ = Create<TSbLabelItem>(form_);
        label_->SetCaption(L"Status text");
        status_->Items()->Add(label_);
        title_->Loaded();
        form_->AddWindowProcLink(TControl::TWindowProcLink(this, &TitleBar::Record));
        form_->Show();
        Pump();
    }
    void TearDown() override {
        if (form_) form_->Free();
        Pump();
    }
    static void Pump() { Application->ProcessMessages(); }
    void FormShown(TObject*) { ++shows_; }
    // Size and move commands are recorded, not carried out: they would run
    // the system's modal loops.
    void Record(TMessage& Message, const TControl::TWindowProcNext& Next) {
        if (Message.Msg == WM_SYSCOMMAND) {
            commands_.push_back(static_cast<unsigned>(Message.WParam & 0xFFFF));
            const unsigned c = Message.WParam & 0xFFF0;
            if (c == SC_SIZE || c == SC_MOVE) return;
        }
        Next(Message);
    }
    TRect WindowRect() {
        RECT r{};
        GetWindowRect(form_->Handle(), &r);
        return r;
    }
    void Click(TWinControl* Control, int X, int Y) {
        Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
        if (*alive_) Control->Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
    }

    TForm* form_ = nullptr;
    TSbTitleBar* title_ = nullptr;
    TSbStatusBar* status_ = nullptr;
    TSbLabelItem* label_ = nullptr;
    int shows_ = 0;
    std::vector<unsigned> commands_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

TEST_F(TitleBar, FormIsBorderlessWithASystemMenuAndChildrenInsideTheFrame) {
    const LONG style = GetWindowLongW(form_->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(title_->ClientRect(), (TRect{0, 0, form_->ClientWidth(), form_->ClientHeight()}))
        << "the real client rectangle stays whole";
    EXPECT_GT(status_->Height(), 10) << "the bar takes its dock's height before any window exists";
    EXPECT_EQ(status_->Height(), status_->Dock()->Height());
    EXPECT_EQ(status_->Left(), 4);
    EXPECT_EQ(status_->Top() + status_->Height(), title_->Height() - 4);
    EXPECT_EQ(title_->Dock()->Top(), 4);
}

TEST_F(TitleBar, FramePressesSendTheirSizeCommands) {
    const int w = title_->Width(), h = title_->Height();
    Click(title_, 3, 5);
    Click(title_, w - 10, 2);
    Click(title_, 2, h / 2);
    Click(title_, w / 2, h - 1);
    EXPECT_EQ(commands_, (std::vector<unsigned>{0xF004, 0xF005, 0xF001, 0xF006}));
}

TEST_F(TitleBar, CaptionDragAndDoubleClick) {
    TSbToolbar* bar = title_->Toolbar();
    TBarItemViewer* caption = bar->View()->Find(title_->Options()->CaptionItem());
    ASSERT_NE(caption, nullptr);
    const TRect r = caption->BoundsRect;
    Click(bar, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(commands_, (std::vector<unsigned>{unsigned{SC_MOVE + HTCAPTION}}));
    // With Maximize on, a double click maximises; off, nothing happens.
    bar->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    Pump();
    EXPECT_TRUE(IsZoomed(form_->Handle()));
    title_->SetWindowState(swsNormal);
    title_->Options()->SetMaximize(false);
    bar->View()->ValidatePositions();
    const TRect r2 = bar->View()->Find(title_->Options()->CaptionItem())->BoundsRect;
    bar->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM((r2.Left + r2.Right) / 2, (r2.Top + r2.Bottom) / 2));
    Pump();
    EXPECT_FALSE(IsZoomed(form_->Handle()));
}

TEST_F(TitleBar, MaximiseFillsTheInjectedWorkArea) {
    TFakeSettings settings;
    TServiceOverride<TSystemSettings> use(settings);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    settings.WorkArea = {0, 0, sw, sh - 40};
    title_->SetWindowState(swsMaximized);
    Pump();
    EXPECT_EQ(WindowRect(), settings.WorkArea);
    EXPECT_TRUE(title_->GetSizingHitTest({2, 2}).Command == 0) << "no sizing while maximised";
    EXPECT_EQ(title_->Dock()->Top(), 0) << "no frame inset while maximised";
    title_->SetWindowState(swsNormal);
    Pump();
    title_->SetFullScreenMaximize(true);
    title_->SetWindowState(swsMaximized);
    Pump();
    EXPECT_EQ(WindowRect(), (TRect{0, 0, sw, sh}));
    title_->SetWindowState(swsNormal);
    title_->SetFullScreenMaximize(false);
    Pump();
    settings.WorkArea = {0, 0, sw, sh};
    settings.HidingEdge = ABE_TOP;
    title_->SetWindowState(swsMaximized);
    Pump();
    EXPECT_EQ(WindowRect(), (TRect{0, 2, sw, sh})) << "the top edge stays free for the taskbar";
    title_->SetWindowState(swsNormal);
    settings.HidingEdge = ABE_LEFT;
    title_->SetWindowState(swsMaximized);
    Pump();
    EXPECT_EQ(WindowRect(), (TRect{2, 0, sw, sh}));
}

TEST_F(TitleBar, TogglingActiveRestoresTheOuterSizeAndShowsOnce) {
    const TRect before = WindowRect();
    const int shows = shows_;
    title_->SetActive(false);
    Pump();
    EXPECT_TRUE(GetWindowLongW(form_->Handle(), GWL_STYLE) & WS_THICKFRAME);
    EXPECT_FALSE(title_->Dock()->Visible());
    title_->SetActive(true);
    Pump();
    EXPECT_EQ(WindowRect(), before);
    EXPECT_EQ(shows_, shows) << "recreating the window does not show the form again";
    EXPECT_TRUE(title_->Dock()->Visible());
}

TEST_F(TitleBar, FreeingAnInactiveBarLeavesTheFormAsItIs) {
    title_->SetActive(false);
    Pump();
    const TRect before = WindowRect();
    title_->Free();
    title_ = nullptr;
    Pump();
    EXPECT_EQ(WindowRect(), before);
    EXPECT_TRUE(GetWindowLongW(form_->Handle(), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(TitleBar, AnUnloadedBarMovedToAnotherFormOutlivesItsFirstForm) {
    using TFirstForm = TQuarantined<TForm>;
    TFirstForm* first = Create<TFirstForm>(nullptr, 0);
    first->SetBounds(150, 150, 300, 200);
    // Made in code with no owner and never loaded; the form it ends up on
    // frees it with its other children.
    auto* bar = Create<TSbTitleBar>(nullptr);
    bar->SetParent(first);
    first->Show();
    Pump();
    EXPECT_EQ(bar->Form(), first);
    title_->Free();
    title_ = nullptr;
    bar->SetParent(form_);
    first->Free();
    ASSERT_EQ(bar->Form(), form_);
    Pump();
    bar->SetWindowState(swsMaximized);
    Pump();
    EXPECT_TRUE(IsZoomed(form_->Handle()));
    EXPECT_TRUE(TFirstForm::FreedUntouched());
}

TEST_F(TitleBar, TogglingActiveWhileMinimisedKeepsTheIconAndTheRestoredSize) {
    const TRect normal = WindowRect();
    title_->SetWindowState(swsMinimized);
    Pump();
    ASSERT_TRUE(IsIconic(form_->Handle()));
    title_->SetActive(false);
    title_->SetActive(true);
    Pump();
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    GetWindowPlacement(form_->Handle(), &p);
    EXPECT_EQ(TRect(p.rcNormalPosition).Width(), normal.Width());
    EXPECT_EQ(TRect(p.rcNormalPosition).Height(), normal.Height());
}

TEST_F(TitleBar, BareKeyMenuIsSwallowed) {
    EXPECT_EQ(SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    EXPECT_EQ(RunningMenuLoopView(), nullptr);
}

TEST_F(TitleBar, SpaceOpensTheSkinnedSystemMenuAndEscClosesIt) {
    TMenuScript script;
    bool opened = false;
    script.Then([&] {
        opened = RunningMenuLoopView() != nullptr;
        script.Key(VK_ESCAPE);
    });
    script.Start();
    EXPECT_EQ(SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' '), 1);
    EXPECT_TRUE(opened);
    EXPECT_EQ(script.Remaining(), 0);
    EXPECT_TRUE(commands_.size() == 1) << "only the key menu itself";
}

TEST_F(TitleBar, SystemMenuMinimiseByKeySendsTheCommand) {
    TMenuScript script;
    script.Then([&] { script.Key('N'); });
    script.Start();
    title_->Options()->SetMaximize(false);
    title_->ShowSystemMenu(form_->ClientToScreen({10, 10}));
    Pump();
    ASSERT_FALSE(commands_.empty());
    EXPECT_EQ(commands_.back() & 0xFFF0u, unsigned{SC_MINIMIZE});
    EXPECT_TRUE(IsIconic(form_->Handle()));
}

TEST_F(TitleBar, CloseButtonClosesTheFormAndOutlivesIt) {
    bool closed = false;
    struct TCloser {
        bool* Closed;
        void Close(TObject*, TCloseAction& Action) {
            *Closed = true;
            Action = caFree;
        }
    } closer{&closed};
    form_->OnClose = TCloseEvent(&closer, &TCloser::Close);
    title_->Options()->ButtonClick(title_->Options()->Button(swbClose));
    EXPECT_TRUE(closed);
    PumpUntil([&] { return false; }, 100);
    form_ = nullptr;  // freed by its close action
}

TEST_F(TitleBar, StatusGripByFormState) {
    TSbStatusToolbar* bar = status_->StatusToolbar();
    const TRect grip = bar->GetGripRect();
    EXPECT_EQ(grip.Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(bar->GetRightAlignMargin(), grip.Width());
    // A press on the grip sizes the form from its bottom-right corner.
    const TPoint p{grip.Left + 2 - bar->Left(), grip.Top + 2 - bar->Top()};
    Click(bar, p.X, p.Y);
    EXPECT_EQ(commands_, (std::vector<unsigned>{0xF008}));
    title_->SetWindowState(swsMaximized);
    Pump();
    EXPECT_TRUE(bar->GetGripRect().IsEmpty());
    title_->SetWindowState(swsNormal);
    Pump();
    title_->SetFixedSize(true);
    EXPECT_TRUE(bar->GetGripRect().IsEmpty());
    EXPECT_EQ(bar->GetRightAlignMargin(), 4);
    // Without an active title bar the form's own border decides.
    title_->SetFixedSize(false);
    title_->SetActive(false);
    form_->SetBorderStyle(bsSingle);
    Pump();
    EXPECT_TRUE(bar->GetGripRect().IsEmpty());
}

// The status bar as its dock prints it (the dock paints the bar's background).
TOwned<TBitmap> PrintStatusBar(TSbStatusBar* Status) {
    RECT r{};
    GetWindowRect(Status->Dock()->Handle(), &r);
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(r.right - r.left, r.bottom - r.top);
    SendMessageW(Status->Dock()->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()),
                 PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    return bitmap;
}

TEST_F(TitleBar, StatusBarIsPaintedByItsOwnSkinType) {
    // The skin's status bar starts with its first body colour at the top.
    const TSbSkinOptionEntry* body = CurrentSkin()->Options(skncStatusBar)->Body();
    ASSERT_NE(body->Color1, clNone);
    TOwned<TBitmap> skinned = PrintStatusBar(status_);
    EXPECT_EQ(skinned->PixelColor(skinned->Width() / 3, 0), ColorToRGB(body->Color1));
    // Without the skin: the classic face under a shadow line.
    status_->SetSkinType(sknNone);
    TOwned<TBitmap> classic = PrintStatusBar(status_);
    EXPECT_EQ(classic->PixelColor(classic->Width() / 3, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(classic->PixelColor(classic->Width() / 3, classic->Height() / 2), ColorToRGB(clBtnFace));
}

TEST_F(TitleBar, StatusGripFollowsTheFormTheBarMovedTo) {
    using TFirstForm = TQuarantined<TForm>;
    TFirstForm* first = Create<TFirstForm>(nullptr, 0);
    first->SetBounds(150, 150, 300, 200);
    // Owned by the form it ends up on; the first form only holds it a while.
    TSbStatusBar* status = Create<TSbStatusBar>(form_);
    status->SetParent(first);
    auto* label = Create<TSbLabelItem>(form_);
    label->SetCaption(L"Moving");
    status->Items()->Add(label);
    first->Show();
    Pump();
    TSbStatusToolbar* bar = status->StatusToolbar();
    EXPECT_FALSE(bar->GetGripRect().IsEmpty()) << "a sizable form";
    // The second form has a frame that sizes; its title bar goes.
    title_->Free();
    title_ = nullptr;
    status->SetParent(form_);
    first->Free();
    Pump();
    EXPECT_FALSE(bar->GetGripRect().IsEmpty());
    form_->SetBorderStyle(bsSingle);
    Pump();
    EXPECT_TRUE(bar->GetGripRect().IsEmpty()) << "the form it sits on now has a fixed frame";
    EXPECT_TRUE(TFirstForm::FreedUntouched());
}

int ControlItemsFor(TSbCompoundBar* Bar, TControl* Control) {
    int count = 0;
    for (int i = 0; i < Bar->Items()->Count(); ++i)
        if (auto* item = dynamic_cast<TBarControlItem*>(Bar->Items()->Items(i));
            item && item->Control() == Control)
            ++count;
    return count;
}

TEST_F(TitleBar, LoadingPullsOnlyTheControlsOfControlItemsIntoTheBar) {
    // The edit a label focuses stays where the form put it; the edit of a
    // control item belongs inside the bar.
    auto* focused = Create<TEdit>(form_);
    focused->SetParent(title_);
    label_->SetControl(focused);
    auto* carried = Create<TEdit>(form_);
    carried->SetParent(title_);
    status_->Items()->Add(Create<TBarControlItem>(form_, carried));
    status_->Loaded();
    EXPECT_EQ(focused->Parent(), title_);
    EXPECT_EQ(ControlItemsFor(status_, focused), 0);
    EXPECT_EQ(carried->Parent(), status_->Toolbar());
    EXPECT_EQ(ControlItemsFor(status_, carried), 1);
}

TEST_F(TitleBar, SizingCursorsNeedNoScreen) {
    TScreen* screen = Screen;
    struct TRestore {
        TScreen* Saved;
        ~TRestore() { Screen = Saved; }
    } restore{screen};
    const TPoint corner = title_->ClientToScreen({2, 2});
    SetCursorPos(corner.X, corner.Y);
    Screen = nullptr;
    EXPECT_EQ(SendMessageW(title_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(title_->Handle()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
}

TEST_F(TitleBar, OldFormsWideCaptionCopiesAreDropped) {
    ReadOldFormCaption(title_, L"Read \u20AC", false);
    EXPECT_EQ(title_->Caption(), L"Read \u20AC");
}

TEST_F(TitleBar, RepaintsAndCyclesLeakNothing) {
    for (int i = 0; i < 20; ++i) title_->Repaint();  // warm the caches
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 1000; ++i) {
        RedrawWindow(title_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    for (int i = 0; i < 50; ++i) {
        title_->SetWindowState(swsMaximized);
        title_->SetWindowState(swsNormal);
    }
    for (int i = 0; i < 50; ++i) {
        TMenuScript script;
        script.Then([&] { script.Key(VK_ESCAPE); });
        script.Start();
        title_->ShowSystemMenu({200, 200});
    }
    Pump();
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
}

// An item repainted on its own goes through a fresh bitmap filled by its
// toolbar's erase: what the erase leaves out shows as the bitmap's old
// content, and what it paints out of place shows as a seam against the dock.
TEST_F(TitleBar, EveryToolbarErasesItsWholeBackgroundUnderEverySkin) {
    auto* skinnedDock = Create<TSbDock>(form_);
    skinnedDock->SetParent(title_);
    auto* plainDock = Create<TBarDock>(form_);
    plainDock->SetParent(title_);
    auto* inSkinned = Create<TSbToolbar>(form_);
    auto* inPlain = Create<TSbToolbar>(form_);
    for (auto [bar, dock] :
         {std::pair<TSbToolbar*, TBarDock*>{inSkinned, skinnedDock}, {inPlain, plainDock}}) {
        bar->SetCurrentDock(dock);
        bar->SetParent(dock);
        auto* item = Create<TSbItem>(form_);
        item->SetCaption(L"Item");
        bar->Items()->Add(item);
    }
    Pump();
    std::vector<std::string> skins{"Default"};
    TSbSkinsList* list = SkinManager()->SkinsList();
    for (int i = 0; i < list->Count(); ++i) skins.push_back(list->Strings(i));
    ASSERT_GE(skins.size(), 11u);
    const struct {
        const char* Name;
        TSbToolbar* Bar;
    } bars[] = {{"title", title_->Toolbar()},
                {"status", status_->Toolbar()},
                {"skinned dock's", inSkinned},
                {"plain dock's", inPlain}};
    for (const std::string& skin : skins) {
        SkinManager()->SetSkin(skin);
        Pump();
        for (const auto& bar : bars) {
            ASSERT_GT(bar.Bar->ClientWidth() * bar.Bar->ClientHeight(), 0) << bar.Name;
            EXPECT_EQ(UnpaintedPixels(bar.Bar), 0) << bar.Name << " toolbar under " << skin;
            EXPECT_EQ(Differing(EraseInto(bar.Bar, RGB(0, 0, 0)), AroundDockedBar(bar.Bar)), 0)
                << bar.Name << " toolbar under " << skin;
        }
    }
    // Floating, the bar has no dock behind it.
    inSkinned->SetFloating(true);
    ASSERT_TRUE(PumpUntil([&] { return inSkinned->Floating() && inSkinned->HandleAllocated(); }));
    for (const std::string& skin : skins) {
        SkinManager()->SetSkin(skin);
        Pump();
        EXPECT_EQ(UnpaintedPixels(inSkinned), 0) << "floating toolbar under " << skin;
    }
}

}  // namespace

namespace {

// What an accessibility client reads of a skinned bar's window: the bar's
// role and, per child, name, role, state and whether it has a default action.
struct TAccChild {
    std::wstring Name;
    LONG Role = 0;
    LONG State = 0;
    bool Action = false;
};

LONG AccBarRole(HWND Window, std::vector<TAccChild>& Children) {
    using TFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    const auto fromWindow = reinterpret_cast<TFromWindow>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("oleacc.dll"), "AccessibleObjectFromWindow")));
    IAccessible* bar = nullptr;
    if (!fromWindow || fromWindow(Window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                  reinterpret_cast<void**>(&bar)) != S_OK)
        return 0;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT v;
    bar->get_accRole(self, &v);
    const LONG role = v.lVal;
    LONG count = 0;
    bar->get_accChildCount(&count);
    for (LONG i = 1; i <= count; ++i) {
        VARIANT id = self;
        id.lVal = i;
        IDispatch* dispatch = nullptr;
        IAccessible* child = nullptr;
        if (bar->get_accChild(id, &dispatch) != S_OK) continue;
        dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child));
        dispatch->Release();
        TAccChild seen;
        BSTR text = nullptr;
        if (child->get_accName(self, &text) == S_OK && text) seen.Name = text;
        SysFreeString(text);
        child->get_accRole(self, &v);
        seen.Role = v.lVal;
        child->get_accState(self, &v);
        seen.State = v.lVal;
        text = nullptr;
        seen.Action = child->get_accDefaultAction(self, &text) == S_OK;
        SysFreeString(text);
        child->Release();
        Children.push_back(seen);
    }
    bar->Release();
    return role;
}

const TAccChild* Named(const std::vector<TAccChild>& Children, const std::wstring& Name) {
    for (const TAccChild& child : Children)
        if (child.Name == Name) return &child;
    return nullptr;
}

}  // namespace

TEST_F(TitleBar, ClientsFindNamedButtonsTextAndAStatusBar) {
    if (!InitMSAA()) GTEST_SKIP() << "no accessibility library";
    BarAccStartup();
    struct TComEnd {
        ~TComEnd() { BarAccShutdown(); }
    } comEnd;
    // The buttons show pictures only; their hints name them for a reader...
    TSbTitleBarButtonOptions* options = title_->Options();
    EXPECT_EQ(options->SystemItem()->Hint(), L"System");
    EXPECT_EQ(options->Button(swbMinimize)->Hint(), L"Minimize");
    EXPECT_EQ(options->Button(swbMaximize)->Hint(), L"Maximize");
    EXPECT_EQ(options->Button(swbClose)->Hint(), L"Close");
    // ... and show them as tooltips.
    EXPECT_TRUE(title_->Toolbar()->ShowHint());

    std::vector<TAccChild> title;
    EXPECT_EQ(AccBarRole(title_->Toolbar()->Handle(), title), ROLE_SYSTEM_TOOLBAR);
    for (const wchar_t* name : {L"System", L"Minimize", L"Maximize", L"Close"}) {
        const TAccChild* button = Named(title, name);
        ASSERT_NE(button, nullptr) << WideToAnsiText(name);
        EXPECT_EQ(button->Role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_TRUE(button->Action);
    }
    // The caption is text, drawn as normal text: read-only, not unavailable.
    const TAccChild* caption = Named(title, L"Title test ");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->Role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(caption->State & (STATE_SYSTEM_READONLY | STATE_SYSTEM_UNAVAILABLE), STATE_SYSTEM_READONLY);
    EXPECT_FALSE(caption->Action);

    std::vector<TAccChild> status;
    EXPECT_EQ(AccBarRole(status_->StatusToolbar()->Handle(), status), ROLE_SYSTEM_STATUSBAR);
    const TAccChild* text = Named(status, L"Status text");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(text->State & (STATE_SYSTEM_READONLY | STATE_SYSTEM_UNAVAILABLE), STATE_SYSTEM_READONLY);
    // A disabled label is unavailable as ever.
    label_->SetEnabled(false);
    status.clear();
    AccBarRole(status_->StatusToolbar()->Handle(), status);
    ASSERT_NE(Named(status, L"Status text"), nullptr);
    EXPECT_TRUE(Named(status, L"Status text")->State & STATE_SYSTEM_UNAVAILABLE);

    // Maximised, the middle button restores.
    title_->SetWindowState(swsMaximized);
    Pump();
    EXPECT_EQ(options->Button(swbMaximize)->Hint(), L"Restore");
    title_->SetWindowState(swsNormal);
    Pump();
    EXPECT_EQ(options->Button(swbMaximize)->Hint(), L"Maximize");
}
