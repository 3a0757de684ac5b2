#include <string>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "foundation/zkexforms.h"
#include "tests/foundation/quarantine.h"
#include "tests/foundation/window_fixture.h"
#include "tests/support/pump.h"

namespace {

using Strings = std::vector<std::string>;

class TProbeForm : public TZkExForm {
    VX_CLASS(TProbeForm, TZkExForm)
public:
    TProbeForm() : TZkExForm(nullptr, 0) {}
    Strings log;
    TDlgCodes codesSeen;
    TDlgCodes codesToAdd;
    bool dropNative = false;
    HDC eraseDC = nullptr;

protected:
    void Note(const std::string& S) { log.push_back(S); }
    static std::string Name(TControl* C) { return C ? C->Name() : "null"; }
    void CursorChanged() override { Note("CursorChanged"), inherited::CursorChanged(); }
    void ShowHintChanged() override { Note("ShowHintChanged"), inherited::ShowHintChanged(); }
    void ShowingChanged() override { Note("ShowingChanged"), inherited::ShowingChanged(); }
    void ControlsListChanging(TControl* C, bool Inserting) override {
        Note("Changing " + Name(C) + (Inserting ? " in" : " out"));
        inherited::ControlsListChanging(C, Inserting);
    }
    void ControlsListChanged(TControl* C, bool Inserting) override {
        Note("Changed " + Name(C) + (Inserting ? " in" : " out"));
        inherited::ControlsListChanged(C, Inserting);
    }
    void BoundsChanged() override { Note("BoundsChanged " + std::to_string(ClientWidth())); }
    void GetDlgCode(TDlgCodes& Codes) override {
        codesSeen = Codes;
        Codes += codesToAdd;
        if (dropNative) Codes.Exclude(dcNative);
    }
    bool DoEraseBackground(TCanvas* Canvas, LPARAM Param) override {
        eraseDC = Canvas->Handle();
        Note("Erase " + std::to_string(Param));
        SetTextColor(Canvas->Handle(), RGB(1, 2, 3));
        return inherited::DoEraseBackground(Canvas, Param);
    }
    void FocusSet(HWND Previous) override {
        Note("FocusSet");
        inherited::FocusSet(Previous);
    }
};

class ExFormTest : public FoundationWindowTest {
protected:
    void SetUp() override {
        FoundationWindowTest::SetUp();
        form.reset(Create<TProbeForm>());
        form->SetBounds(50, 50, 200, 150);
    }
    void TearDown() override {
        form.reset();
        FoundationWindowTest::TearDown();
    }
    TOwned<TProbeForm> form;
};

TEST_F(ExFormTest, FormOnlyNotificationsReachTheirOperations) {
    form->Perform(CM_CURSORCHANGED);
    form->Perform(CM_SHOWHINTCHANGED);
    form->Show();
    ASSERT_GE(form->log.size(), 3u);
    form->log.resize(3);
    EXPECT_EQ(form->log, (Strings{"CursorChanged", "ShowHintChanged", "ShowingChanged"}));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(ExFormTest, InsertingAndRemovingAControlIsChangingThenChanged) {
    TControl* child = Create<TGraphicControl>(form.get());
    child->SetName("Child");
    child->SetParent(form.get());
    child->SetParent(nullptr);
    EXPECT_EQ(form->log,
              (Strings{"Changing Child in", "Changed Child in", "Changing Child out", "Changed Child out"}));
}

TEST_F(ExFormTest, DialogCodeKeepsTheNativeAnswerWhileNativeStaysInTheSet) {
    HWND window = form->Handle();
    const LRESULT native = DefWindowProcW(window, WM_GETDLGCODE, 0, 0);
    form->codesToAdd = {dcWantTab, dcWantChars};
    EXPECT_EQ(form->Perform(WM_GETDLGCODE), native);
    EXPECT_TRUE(form->codesSeen.Contains(dcNative));
    form->dropNative = true;
    EXPECT_EQ(form->Perform(WM_GETDLGCODE),
              DLGC_WANTTAB | DLGC_WANTCHARS | DlgCodesToResult(DlgCodesFromResult(native)));
}

TEST_F(ExFormTest, EraseBackgroundGetsACanvasOnTheMessageDCAndLeavesItsStateAlone) {
    TWindowDC screen;
    TMemoryDC memory(screen.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), 10, 10));
    TSelectObject select(memory.Get(), bitmap.Get());
    SetTextColor(memory.Get(), RGB(9, 9, 9));
    form->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 77);
    EXPECT_EQ(form->eraseDC, memory.Get());
    EXPECT_EQ(form->log, Strings{"Erase 77"});
    EXPECT_EQ(GetTextColor(memory.Get()), RGB(9, 9, 9));
}

TEST_F(ExFormTest, BoundsChangedFollowsTheInheritedSizeHandling) {
    form->Handle();
    form->log.clear();
    SetWindowPos(form->Handle(), nullptr, 0, 0, 260, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(form->log.empty());
    EXPECT_EQ(form->log.back(), "BoundsChanged " + std::to_string(form->ClientWidth()));
}

TEST_F(ExFormTest, AFormReleasedByItsOwnMessageIsNotWrittenToAfterwards) {
    using TReleasedForm = TQuarantined<TZkExForm>;
    TReleasedForm* released = Create<TReleasedForm>(nullptr, 0);
    released->Show();
    released->Release();
    ASSERT_TRUE(PumpUntil([] { return TReleasedForm::Freed(); }));
    EXPECT_TRUE(TReleasedForm::FreedUntouched());
}

TEST(HighlightFrame, HotIsTwoAccentRingsElseGreyAroundTheFormColour) {
    const struct {
        bool hot;
        COLORREF outer, inner;
    } cases[] = {{true, 0x733800, 0x733800}, {false, 0x808080, 0x00FF00}};
    for (const auto& c : cases) {
        TOwned<TBitmap> bitmap(Create<TBitmap>());
        bitmap->SetSize(20, 10);
        DrawHighlightFrame(bitmap->Canvas()->Handle(), TRect(0, 0, 20, 10), c.hot, clLime);
        EXPECT_EQ(COLORREF(bitmap->PixelColor(0, 0)), c.outer);
        EXPECT_EQ(COLORREF(bitmap->PixelColor(19, 9)), c.outer);
        EXPECT_EQ(COLORREF(bitmap->PixelColor(1, 1)), c.inner);
        EXPECT_EQ(COLORREF(bitmap->PixelColor(18, 8)), c.inner);
        EXPECT_EQ(bitmap->PixelColor(2, 2), clWhite);
    }
}

}  // namespace
