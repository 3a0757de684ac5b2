// A skinned toolbar's erase paints every pixel it is given, under every skin:
// an item repainted on its own goes through a fresh bitmap filled by that
// erase, and what the erase leaves out shows as the bitmap's old content.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/graphics/handles.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "skins/builtinskins.h"
#include "skins/sbdock.h"
#include "skins/sbitemsunit.h"
#include "skins/sbstatusbar.h"
#include "skins/sbtitlebar.h"
#include "skins/sbtoolbar.h"
#include "skins/skinmanager.h"

namespace {

// The toolbar's client area erased into a bitmap that first holds Start,
// read back as rows of pixels.
std::vector<COLORREF> EraseInto(TSbToolbar* Bar, COLORREF Start) {
    const int w = Bar->ClientWidth(), h = Bar->ClientHeight();
    HDC screen = GetDC(nullptr);
    TMemoryDC memory(screen);
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen, w, h));
    ReleaseDC(nullptr, screen);
    TSelectObject select(memory.Get(), bitmap.Get());
    TBrushHandle fill(CreateSolidBrush(Start));
    RECT all{0, 0, w, h};
    FillRect(memory.Get(), &all, fill.Get());
    SendMessageW(Bar->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(memory.Get(), x, y));
    return pixels;
}

// Pixels that differ between an erase over black and one over white: the
// ones nobody painted.
int UnpaintedPixels(TSbToolbar* Bar) {
    const std::vector<COLORREF> overBlack = EraseInto(Bar, RGB(0, 0, 0));
    const std::vector<COLORREF> overWhite = EraseInto(Bar, RGB(255, 255, 255));
    int count = 0;
    for (size_t i = 0; i < overBlack.size(); ++i) count += overBlack[i] != overWhite[i];
    return count;
}

class SkinnedErase : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Application->Initialize();
        InitSkinsUnit();
        RegisterBuiltInSkins();
        InitSkinnedItemsUnit();
    }
    static void TearDownTestSuite() {
        SkinManager()->SetSkin("Default");
        FinalizeSkinnedItemsUnit();
    }
    void SetUp() override {
        form_ = Create<TForm>(nullptr, 0);
        form_->SetBounds(120, 120, 420, 300);
        title_ = Create<TSbTitleBar>(form_);
        title_->SetParent(form_);
        title_->SetCaption(L"Erase test");
        status_ = Create<TSbStatusBar>(form_);
        status_->SetParent(title_);
        auto* label = Create<TSbLabelItem>(form_);
        label->SetCaption(L"Status text");
        status_->Items()->Add(label);
        title_->Loaded();
        dock_ = Create<TSbDock>(form_);
        dock_->SetParent(title_);
        plain_ = Create<TSbToolbar>(form_);
        plain_->SetCurrentDock(dock_);
        plain_->SetParent(dock_);
        auto* item = Create<TSbItem>(form_);
        item->SetCaption(L"Item");
        plain_->Items()->Add(item);
        form_->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        form_->Free();
        Application->ProcessMessages();
    }

    TForm* form_ = nullptr;
    TSbTitleBar* title_ = nullptr;
    TSbStatusBar* status_ = nullptr;
    TSbDock* dock_ = nullptr;
    TSbToolbar* plain_ = nullptr;
};

TEST_F(SkinnedErase, EveryToolbarPaintsItsWholeBackgroundUnderEverySkin) {
    std::vector<std::string> skins{"Default"};
    TSbSkinsList* list = SkinManager()->SkinsList();
    for (int i = 0; i < list->Count(); ++i) skins.push_back(list->Strings(i));
    ASSERT_GE(skins.size(), 11u);
    const struct {
        const char* Name;
        TSbToolbar* Bar;
    } bars[] = {{"title", title_->Toolbar()}, {"status", status_->Toolbar()}, {"plain", plain_}};
    for (const std::string& skin : skins) {
        SkinManager()->SetSkin(skin);
        Application->ProcessMessages();
        for (const auto& bar : bars) {
            ASSERT_GT(bar.Bar->ClientWidth() * bar.Bar->ClientHeight(), 0) << bar.Name;
            EXPECT_EQ(UnpaintedPixels(bar.Bar), 0) << bar.Name << " toolbar under " << skin;
        }
    }
}

}  // namespace
