// Class tokens, registration by name and the two-phase life.
#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"

namespace {

std::string lastKind;

class TShape : public TPersistent {
    VX_CLASS(TShape, TPersistent)
public:
    void AfterConstruction() override { lastKind = Kind(); }
    virtual std::string Kind() const { return "shape"; }
};

class TCircle : public TShape {
    VX_CLASS(TCircle, TShape)
public:
    std::string Kind() const override { return "circle"; }
    int Radius = 1;

protected:
    void AssignTo(TPersistent* dest) override {
        if (auto* circle = dynamic_cast<TCircle*>(dest)) {
            circle->Radius = Radius;
            return;
        }
        inherited::AssignTo(dest);
    }
};

}  // namespace

TEST(ObjectModel, AfterConstructionReachesTheMostDerivedClass) {
    TOwned<TShape> circle(Create<TCircle>());
    EXPECT_EQ(lastKind, "circle");
}

TEST(ObjectModel, ClassTokensKnowTheirNamesAndAncestors) {
    TOwned<TCircle> circle = MakeOwned<TCircle>();
    EXPECT_STREQ(circle->ClassName(), "TCircle");
    EXPECT_EQ(circle->ClassParent(), TShape::ClassInfo());
    EXPECT_TRUE(circle->InheritsFrom(TPersistent::ClassInfo()));
    EXPECT_TRUE(circle->InheritsFrom(TObject::ClassInfo()));
    EXPECT_FALSE(TShape::ClassInfo() == TCircle::ClassInfo());
}

TEST(ObjectModel, RegisteredClassesAreFoundByNameWithoutCase) {
    RegisterClass(TCircle::ClassInfo());
    EXPECT_EQ(FindClass("tcircle"), TCircle::ClassInfo());
    EXPECT_EQ(GetClass("TSquare"), nullptr);
    EXPECT_THROW(FindClass("TSquare"), EClassNotFound);
    TOwned<TObject> made(CreateInstance(FindClass("TCircle")));
    EXPECT_STREQ(made->ClassName(), "TCircle");
    EXPECT_EQ(lastKind, "circle");
    UnRegisterClass(TCircle::ClassInfo());
}

TEST(ObjectModel, AssignWithoutAHandlerNamesBothClasses) {
    TOwned<TCircle> circle = MakeOwned<TCircle>();
    TOwned<TShape> shape = MakeOwned<TShape>();
    circle->Radius = 7;
    TOwned<TCircle> copy = MakeOwned<TCircle>();
    copy->Assign(circle.get());
    EXPECT_EQ(copy->Radius, 7);
    try {
        circle->Assign(shape.get());
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TShape to a TCircle");
    }
}
