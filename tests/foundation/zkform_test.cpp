#include <string>

#include "classlib/windows/formresources.h"
#include "classlib/windows/screen.h"
#include "foundation/zkform.h"
#include "tests/foundation/window_fixture.h"

namespace {

class TNoBuilderForm : public TZkForm {
    VX_CLASS(TNoBuilderForm, TZkForm)
public:
    using TZkForm::TZkForm;
};

class TBuiltForm : public TZkForm {
    VX_CLASS(TBuiltForm, TZkForm)
public:
    using TZkForm::TZkForm;
    bool createdAfterLoading = false;
    void Created(TObject*) { createdAfterLoading = Caption() == "Built"; }
};

void BuildBuiltForm(TComponent* Instance) {
    auto* form = static_cast<TBuiltForm*>(Instance);
    form->SetCaption("Built");
    form->OnCreate = TNotifyEvent(form, &TBuiltForm::Created);
}

using ZkFormTest = FoundationWindowTest;

TEST_F(ZkFormTest, ADescendantWithoutABuilderFailsWithResourceNotFound) {
    try {
        TOwned<TNoBuilderForm> form(Create<TNoBuilderForm>(nullptr));
        FAIL() << "created without a form resource";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource TNoBuilderForm not found");
    }
    // CreateNew and the base class itself need no resource.
    TOwned<TNoBuilderForm> empty(Create<TNoBuilderForm>(nullptr, 0));
    TOwned<TZkForm> base(Create<TZkForm>(nullptr));
    EXPECT_TRUE(empty->IsFocusable());
}

TEST_F(ZkFormTest, ADescendantIsFilledFromItsBuilderBeforeOnCreate) {
    RegisterFormBuilder("TBuiltForm", BuildBuiltForm);
    TOwned<TBuiltForm> form(Create<TBuiltForm>(nullptr));
    RegisterFormBuilder("TBuiltForm", nullptr);
    EXPECT_EQ(form->Caption(), "Built");
    EXPECT_TRUE(form->createdAfterLoading);
    EXPECT_FALSE(form->FormState().Contains(fsCreating));
}

TEST_F(ZkFormTest, AFormThatIsNotFocusableRefusesMouseActivation) {
    TOwned<TZkForm> form(Create<TZkForm>(nullptr, 0));
    EXPECT_NE(form->Perform(WM_MOUSEACTIVATE), MA_NOACTIVATE);
    form->SetIsFocusable(false);
    EXPECT_EQ(form->Perform(WM_MOUSEACTIVATE), MA_NOACTIVATE);
}

HWND OwnerOf(TWinControl* Form) {
    return reinterpret_cast<HWND>(GetWindowLongPtrW(Form->Handle(), GWLP_HWNDPARENT));
}

TEST_F(ZkFormTest, ShowingPicksTheMainFormOrTheApplicationWindowAsOwner) {
    TOwned<TZkForm> lone(Create<TZkForm>(nullptr, 0));
    if (!Application->MainForm()) {
        lone->Show();
        EXPECT_EQ(OwnerOf(lone.get()), Application->Handle());
        lone->Hide();
    }
    TForm* main = nullptr;
    if (!Application->MainForm()) Application->CreateForm(main);
    TOwned<TZkForm> form(Create<TZkForm>(nullptr, 0));
    form->Show();
    EXPECT_EQ(OwnerOf(form.get()), Application->MainForm()->Handle());
    form->Hide();
    form->SetFormStyle(fsStayOnTop);
    form->Show();
    EXPECT_EQ(OwnerOf(form.get()), Application->Handle());
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    form.reset();
    if (main) main->Free();
}

}  // namespace
