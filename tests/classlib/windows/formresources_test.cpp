// Form resources: builders registered under a form's class name fill it
// while it loads (base class first), every component then finishes loading
// in creation order, and a form without any builder fails with the exact text;
// the control a builder makes active has the focus at the first activation.
#include "classlib/windows/formresources.h"
#include "classlib/windows/screen.h"
#include "tests/classlib/windows/window_test.h"

namespace {

std::vector<std::string> journal;

std::string StateOf(TComponent* Component) {
    const TComponentState state = Component->ComponentState();
    std::string text;
    if (state.Contains(csLoading)) text += "loading";
    if (state.Contains(csReading)) text += text.empty() ? "reading" : "+reading";
    return text.empty() ? "live" : text;
}

// A component that notes when its value is set and when it has loaded.
class TProbe : public TComponent {
    VX_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}
    void SetValue(int) { journal.push_back(Name() + " set while " + StateOf(this)); }
    void Loaded() override {
        inherited::Loaded();
        journal.push_back(Name() + " loaded");
    }
};

class TBaseBuiltForm : public TForm {
    VX_CLASS(TBaseBuiltForm, TForm)
public:
    using TForm::TForm;
    TProbe* First = nullptr;
    TProbe* Second = nullptr;
    int created = 0;
    void FormCreate(TObject*) { ++created; }
    void Loaded() override {
        inherited::Loaded();
        journal.push_back("form loaded");
    }
};

class TDerivedBuiltForm : public TBaseBuiltForm {
    VX_CLASS(TDerivedBuiltForm, TBaseBuiltForm)
public:
    using TBaseBuiltForm::TBaseBuiltForm;
    TProbe* Third = nullptr;
};

// A class between two builders that has none of its own.
class TMiddleForm : public TDerivedBuiltForm {
    VX_CLASS(TMiddleForm, TDerivedBuiltForm)
public:
    using TDerivedBuiltForm::TDerivedBuiltForm;
};

class TUnbuiltForm : public TForm {
    VX_CLASS(TUnbuiltForm, TForm)
public:
    using TForm::TForm;
};

void BuildBase(TComponent* Instance) {
    auto* form = static_cast<TBaseBuiltForm*>(Instance);
    journal.push_back("base builder, form " + StateOf(form));
    form->SetCaption("Built");
    form->SetBounds(10, 10, 421, 373);
    form->OnCreate = TNotifyEvent(form, &TBaseBuiltForm::FormCreate);
    form->First = LoadComponent<TProbe>(form, "First");
    form->First->SetValue(1);
    form->Second = LoadComponent<TProbe>(form, "Second");
}

void BuildDerived(TComponent* Instance) {
    auto* form = static_cast<TDerivedBuiltForm*>(Instance);
    journal.push_back("derived builder, caption " + form->Caption());
    form->Third = LoadComponent<TProbe>(form, "Third");
    form->Third->SetValue(3);
}

class FormResources : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        journal.clear();
        RegisterFormBuilder("TBaseBuiltForm", &BuildBase);
        RegisterFormBuilder("TDerivedBuiltForm", &BuildDerived);
    }
    void TearDown() override {
        RegisterFormBuilder("TBaseBuiltForm", nullptr);
        RegisterFormBuilder("TDerivedBuiltForm", nullptr);
        WindowTest::TearDown();
    }
};

TEST_F(FormResources, AFormLoadsFromTheBuildersOfItsClassChain) {
    TOwned<TMiddleForm> form(Create<TMiddleForm>(nullptr));

    const std::vector<std::string> expected{
        "base builder, form loading+reading",
        "First set while loading+reading",
        "derived builder, caption Built",
        "Third set while loading+reading",
        "form loaded",
        "First loaded",
        "Second loaded",
        "Third loaded",
    };
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(form->Width(), 421);
    EXPECT_EQ(form->created, 1);
    for (TComponent* component :
         {static_cast<TComponent*>(form.get()), static_cast<TComponent*>(form->First),
          static_cast<TComponent*>(form->Second), static_cast<TComponent*>(form->Third)})
        EXPECT_EQ(StateOf(component), "live") << component->Name();
    EXPECT_EQ(form->FindComponent("third"), form->Third);
}

TEST_F(FormResources, AFormWithoutAnyBuilderRaisesResourceNotFound) {
    try {
        Create<TUnbuiltForm>(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource TUnbuiltForm not found");
    }
    // An empty form made without a resource needs no builder.
    TOwned<TUnbuiltForm> empty(Create<TUnbuiltForm>(nullptr, 0));
    EXPECT_EQ(empty->ComponentCount(), 0);
    EXPECT_FALSE(InitInheritedComponent(empty.get(), TForm::ClassInfo()));
}

TEST_F(FormResources, AFailingBuilderFailsTheFormAndFreesIt) {
    const int forms = Screen->FormCount();
    RegisterFormBuilder("TUnbuiltForm", [](TComponent* Instance) {
        LoadComponent<TProbe>(Instance, "Doomed");
        throw EReadError("Invalid property value");
    });
    EXPECT_THROW(Create<TUnbuiltForm>(nullptr), EReadError);
    RegisterFormBuilder("TUnbuiltForm", nullptr);
    EXPECT_EQ(Screen->FormCount(), forms);
}

// A form whose builder makes its second box the active control.
class TFocusedForm : public TForm {
    VX_CLASS(TFocusedForm, TForm)
public:
    using TForm::TForm;
    TColorBox* First = nullptr;
    TColorBox* Second = nullptr;
};

TEST_F(FormResources, TheActiveControlABuilderNamesHasTheFocusAtTheFirstActivation) {
    RegisterFormBuilder("TFocusedForm", [](TComponent* Instance) {
        auto* form = static_cast<TFocusedForm*>(Instance);
        form->SetBounds(60, 60, 240, 160);
        for (TColorBox** box : {&form->First, &form->Second}) {
            *box = Create<TColorBox>(form);
            (*box)->SetParent(form);
            (*box)->SetTabStop(true);
        }
        form->Second->SetBounds(0, 60, 80, 40);
        form->SetActiveControl(form->Second);
    });
    TOwned<TFocusedForm> form(Create<TFocusedForm>(nullptr));
    RegisterFormBuilder("TFocusedForm", nullptr);
    form->Show();
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == form->Second->Handle(); }));
    EXPECT_EQ(form->ActiveControl(), form->Second);
    // Once loaded, a control that cannot take the focus is refused.
    form->First->Hide();
    EXPECT_THROW(form->SetActiveControl(form->First), EInvalidOperation);
}

}  // namespace
