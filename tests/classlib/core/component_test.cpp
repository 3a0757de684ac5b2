// Ownership, names, notifications and state of components.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/exceptions.h"

namespace {

int liveComponents = 0;
std::vector<std::string> journal;
bool witnessSawDestroying = false;

// Counts itself, writes its name to the journal when destroyed, and records
// every notice it gets as "receiver:subject:op".
class TProbe : public TComponent {
    VX_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* AOwner) : TComponent(AOwner) { ++liveComponents; }
    ~TProbe() override {
        journal.push_back("freed " + Name());
        --liveComponents;
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        inherited::Notification(AComponent, Operation);
        notices.push_back((AComponent ? AComponent->Name() : "nil") + (Operation == opInsert ? "+" : "-"));
        if (Operation == opInsert) insertedClass = AComponent->ClassName();
        if (Operation == opRemove && AComponent == Partner) Partner = nullptr;
    }
    std::vector<std::string> notices;
    std::string insertedClass;
    TComponent* Partner = nullptr;  // cleared when the partner goes away
};

// Frees its partner when it goes itself, as a component owning a helper does.
class TPartnerFreeing : public TProbe {
    VX_CLASS(TPartnerFreeing, TProbe)
public:
    using TProbe::TProbe;
    ~TPartnerFreeing() override { FreeAndNil(Partner); }
};

// Hears notices but never calls inherited.
class TDeaf : public TComponent {
    VX_CLASS(TDeaf, TComponent)
public:
    using TComponent::TComponent;
    void Notification(TComponent*, TOperation) override { ++heard; }
    int heard = 0;
};

// Notes whether it saw itself destroying in BeforeDestruction.
class TWitness : public TComponent {
    VX_CLASS(TWitness, TComponent)
public:
    using TComponent::TComponent;
    void BeforeDestruction() override {
        inherited::BeforeDestruction();
        witnessSawDestroying = ComponentState().Contains(csDestroying);
    }
};

TProbe* Probe(TComponent* owner, const std::string& name) {
    TProbe* probe = Create<TProbe>(owner);
    probe->SetName(name);
    return probe;
}

class Components : public ::testing::Test {
protected:
    void SetUp() override {
        liveComponents = 0;
        journal.clear();
    }
    void TearDown() override { EXPECT_EQ(liveComponents, 0) << "components leaked"; }
};

}  // namespace

TEST_F(Components, OwnerFreesItsTreeLastInsertedFirst) {
    TProbe* root = Probe(nullptr, "Root");
    Probe(root, "A");
    TProbe* b = Probe(root, "B");
    Probe(b, "C");
    Probe(b, "D");
    EXPECT_EQ(liveComponents, 5);
    root->Free();
    EXPECT_EQ(journal, (std::vector<std::string>{"freed Root", "freed B", "freed D", "freed C", "freed A"}));
}

TEST_F(Components, OwnedComponentMayFreeASiblingDuringTheOwnersDestruction) {
    // The partner is inserted before and after the freeing component: one
    // is still in the owner's list when freed, the other already gone and
    // known to be gone only through its free notification.
    for (bool partnerFirst : {true, false}) {
        SCOPED_TRACE(partnerFirst ? "partner inserted first" : "partner inserted last");
        TProbe* owner = Probe(nullptr, "Owner");
        TProbe* partner = partnerFirst ? Probe(owner, "Partner") : nullptr;
        auto* freeing = Create<TPartnerFreeing>(owner);
        if (!partner) partner = Probe(owner, "Partner");
        freeing->Partner = partner;
        partner->FreeNotification(freeing);
        owner->Free();
        EXPECT_EQ(liveComponents, 0);
    }
}

TEST_F(Components, OwnedComponentsThatFreeEachOtherAreFreedOnce) {
    TProbe* owner = Probe(nullptr, "Owner");
    auto* first = Create<TPartnerFreeing>(owner);
    auto* second = Create<TPartnerFreeing>(owner);
    first->Partner = second;
    second->Partner = first;
    first->FreeNotification(second);
    second->FreeNotification(first);
    owner->Free();
    EXPECT_EQ(liveComponents, 0);
}

TEST_F(Components, ComponentFreedDirectlyLeavesItsOwner) {
    TProbe* owner = Probe(nullptr, "Owner");
    Probe(owner, "Keep");
    TProbe* gone = Probe(owner, "Gone");
    Probe(owner, "Last");
    gone->Free();
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0)->Name(), "Keep");
    EXPECT_EQ(owner->Components(1)->Name(), "Last");
    EXPECT_EQ(owner->FindComponent("Gone"), nullptr);
    EXPECT_EQ(owner->notices.back(), "Gone-");
    owner->Free();
}

TEST_F(Components, InsertAndRemoveNoticesReachOwnerAndSiblingsOnceTheComponentIsWhole) {
    TProbe* owner = Probe(nullptr, "Owner");
    TProbe* sibling = Probe(owner, "Sibling");
    owner->notices.clear();
    sibling->notices.clear();
    auto* late = Create<TPartnerFreeing>(owner);
    // Sent from AfterConstruction: the receivers see the most derived class.
    EXPECT_EQ(owner->insertedClass, "TPartnerFreeing");
    EXPECT_EQ(sibling->insertedClass, "TPartnerFreeing");
    late->SetName("Late");
    owner->RemoveComponent(late);
    EXPECT_EQ(owner->notices, (std::vector<std::string>{"+", "Late-"}));
    EXPECT_EQ(sibling->notices, (std::vector<std::string>{"+", "Late-"}));
    EXPECT_EQ(late->Owner(), nullptr);
    late->Free();
    owner->Free();
}

TEST_F(Components, FreeNotificationTellsBothSides) {
    struct Case {
        const char* name;
        bool freeWatched;
    };
    for (const Case& c : {Case{"watched goes first", true}, Case{"watcher goes first", false}}) {
        SCOPED_TRACE(c.name);
        TProbe* ownerA = Probe(nullptr, "OwnerA");
        TProbe* ownerB = Probe(nullptr, "OwnerB");
        TProbe* watched = Probe(ownerA, "Watched");
        TProbe* watcher = Probe(ownerB, "Watcher");
        watcher->Partner = watched;
        watched->Partner = watcher;
        watched->FreeNotification(watcher);
        EXPECT_TRUE(watched->ComponentState().Contains(csFreeNotification));
        TProbe* gone = c.freeWatched ? watched : watcher;
        TProbe* told = c.freeWatched ? watcher : watched;
        gone->Free();
        EXPECT_EQ(told->Partner, nullptr);
        // The survivor keeps no link to the freed one: freeing it now must
        // not reach the dead component.
        ownerA->Free();
        ownerB->Free();
        EXPECT_EQ(liveComponents, 0);
    }
}

TEST_F(Components, RemovedFreeNotificationNoLongerFires) {
    TProbe* watched = Probe(nullptr, "Watched");
    TProbe* watcher = Probe(nullptr, "Watcher");
    watched->FreeNotification(watcher);
    watched->RemoveFreeNotification(watcher);
    watched->Free();
    EXPECT_TRUE(watcher->notices.empty());
    watcher->Free();
}

TEST_F(Components, FreeNotificationSurvivesAReceiverThatSkipsInherited) {
    // A receiver that never calls inherited must not keep the sender's loop
    // of notices going for ever.
    TOwned<TDeaf> deaf(Create<TDeaf>(nullptr));
    TProbe* watched = Probe(nullptr, "Watched");
    watched->FreeNotification(deaf.get());
    watched->Free();
    EXPECT_EQ(deaf->heard, 1);
}

TEST_F(Components, InsertComponentMovesFromThePreviousOwner) {
    TProbe* first = Probe(nullptr, "First");
    TProbe* second = Probe(nullptr, "Second");
    TProbe* moved = Probe(first, "Moved");
    second->InsertComponent(moved);
    EXPECT_EQ(first->ComponentCount(), 0);
    EXPECT_EQ(second->ComponentCount(), 1);
    EXPECT_EQ(moved->Owner(), second);
    // Only the owner lets a component go.
    first->notices.clear();
    first->RemoveComponent(moved);
    EXPECT_EQ(moved->Owner(), second);
    EXPECT_TRUE(first->notices.empty());
    first->Free();
    second->Free();
}

TEST_F(Components, NamesAreEmptyOrIdentifiers) {
    TOwned<TProbe> probe(Create<TProbe>(nullptr));
    for (const char* good : {"Button1", "_hidden", "x", "A_1_b", ""}) {
        EXPECT_NO_THROW(probe->SetName(good)) << good;
        EXPECT_EQ(probe->Name(), good);
    }
    for (const char* bad : {"1st", "two words", "dash-ed", "dot.ted", " lead", "caf\xe9"}) {
        try {
            probe->SetName(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const EComponentError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid component name");
        }
    }
}

TEST_F(Components, NamesAreUniqueWithoutCaseAmongAnOwnersComponents) {
    TProbe* owner = Probe(nullptr, "Owner");
    TProbe* first = Probe(owner, "Button1");
    TProbe* second = Probe(owner, "Button2");
    try {
        second->SetName("BUTTON1");
        ADD_FAILURE() << "duplicate accepted";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named BUTTON1 already exists");
    }
    EXPECT_EQ(second->Name(), "Button2");
    first->SetName("BUTTON1");  // a change of case only
    EXPECT_EQ(owner->FindComponent("button1"), first);
    EXPECT_EQ(owner->FindComponent(""), nullptr);
    // Components without an owner may share a name; an owner taking one in
    // checks it.
    TProbe* stray = Probe(nullptr, "Button2");
    EXPECT_THROW(owner->InsertComponent(stray), EComponentError);
    EXPECT_EQ(stray->Owner(), nullptr);
    stray->Free();
    owner->Free();
}

TEST_F(Components, StateFlagsFollowLoadingAndDestruction) {
    TProbe* owner = Probe(nullptr, "Owner");
    TProbe* child = Probe(owner, "Child");
    owner->Loading();
    owner->SetReading(true);
    EXPECT_EQ(owner->ComponentState(), (TComponentState{csLoading, csReading}));
    owner->SetReading(false);
    owner->Loaded();
    EXPECT_TRUE(owner->ComponentState().Empty());
    owner->Destroying();
    EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
    owner->Free();
    witnessSawDestroying = false;
    Create<TWitness>(nullptr)->Free();
    EXPECT_TRUE(witnessSawDestroying);
}

TEST_F(Components, CreatedByClassTokenWithAnOwner) {
    TProbe* owner = Probe(nullptr, "Owner");
    TComponent* made = CreateComponent(TPartnerFreeing::ClassInfo(), owner);
    EXPECT_STREQ(made->ClassName(), "TPartnerFreeing");
    EXPECT_EQ(made->Owner(), owner);
    EXPECT_EQ(owner->insertedClass, "TPartnerFreeing");
    // A class that keeps its destructor protected can still be made by token.
    TObject* plain = CreateInstance(TComponent::ClassInfo(), owner);
    EXPECT_EQ(static_cast<TComponent*>(plain)->Owner(), owner);
    EXPECT_THROW(CreateComponent(TPersistent::ClassInfo(), owner), EInvalidOperation);
    owner->Free();
}

TEST(ComponentSet, IncludeExcludeAndSetArithmetic) {
    TComponentState state{csLoading};
    state.Include(csReading).Include(csReading);
    EXPECT_TRUE(state.Contains(csReading));
    state.Exclude(csLoading);
    EXPECT_FALSE(state.Contains(csLoading));
    const TComponentState a{csLoading, csWriting}, b{csWriting, csInline};
    EXPECT_EQ(a + b, (TComponentState{csLoading, csWriting, csInline}));
    EXPECT_EQ(a - b, TComponentState{csLoading});
    EXPECT_EQ(a * b, TComponentState{csWriting});
    EXPECT_TRUE(TComponentState{csWriting} <= a);
    EXPECT_FALSE(b <= a);
}
