#include "controls/scframecontroller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/core/properties.h"
#include "classlib/core/streams.h"
#include "classlib/windows/controls.h"
#include "controls/scpublishnames.h"
#include "controls/scregini.h"
#include "tests/foundation/quarantine.h"

namespace {

// Publishes a few of the controller's settings and logs every write; it has
// no notification property, so it should hear every setting it publishes.
class TFramedControl : public TGraphicControl {
    VX_CLASS(TFramedControl, TGraphicControl)
public:
    using TGraphicControl::TGraphicControl;

    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor Value) {
        frameColor_ = Value;
        log.push_back("FrameColor");
    }
    TSides FrameSides() const { return frameSides_; }
    void SetFrameSides(TSides Value) {
        frameSides_ = Value;
        log.push_back("FrameSides");
    }
    TFrameStyle FrameStyle() const { return frameStyle_; }
    void SetFrameStyle(TFrameStyle Value) {
        frameStyle_ = Value;
        log.push_back("FrameStyle");
    }
    bool FrameVisible() const { return frameVisible_; }
    void SetFrameVisible(bool Value) {
        frameVisible_ = Value;
        log.push_back("FrameVisible");
    }
    TColor LoggedColor() const { return Color(); }
    void SetLoggedColor(TColor Value) {
        SetColor(Value);
        log.push_back("Color");
    }
    bool LoggedParentColor() const { return ParentColor(); }
    void SetLoggedParentColor(bool Value) {
        SetParentColor(Value);
        log.push_back("ParentColor");
    }

    std::vector<std::string> log;

private:
    TColor frameColor_ = clNone;
    TSides frameSides_;
    TFrameStyle frameStyle_ = fsNone;
    bool frameVisible_ = false;
};

// Chooses what it hears.
class TChoosyControl : public TFramedControl {
    VX_CLASS(TChoosyControl, TFramedControl)
public:
    using TFramedControl::TFramedControl;
    TScFrameControllerNotifications Notifications() const { return notifications_; }
    void SetNotifications(TScFrameControllerNotifications Value) { notifications_ = Value; }

private:
    TScFrameControllerNotifications notifications_ = AllFrameControllerNotifications;
};

// Reads the controller itself.
class TSelfReadingControl : public TFramedControl, public IScFrameControllerNotification {
    VX_CLASS(TSelfReadingControl, TFramedControl)
public:
    using TFramedControl::TFramedControl;
    void UpdateFromFrameController() override { ++updates; }
    int updates = 0;
};

[[maybe_unused]] const bool published = [] {
    PublishControlProperties();
    TPublish<TFramedControl>()
        .Property("Color", &TFramedControl::LoggedColor, &TFramedControl::SetLoggedColor)
        .Property("ParentColor", &TFramedControl::LoggedParentColor, &TFramedControl::SetLoggedParentColor)
        .Property("FrameColor", &TFramedControl::FrameColor, &TFramedControl::SetFrameColor)
        .Property("FrameSides", &TFramedControl::FrameSides, &TFramedControl::SetFrameSides, SC_SIDE_NAMES)
        .Property("FrameStyle", &TFramedControl::FrameStyle, &TFramedControl::SetFrameStyle,
                  SC_FRAME_STYLE_NAMES)
        .Property("FrameVisible", &TFramedControl::FrameVisible, &TFramedControl::SetFrameVisible);
    TPublish<TChoosyControl>().Property("FrameControllerNotifications", &TChoosyControl::Notifications,
                                        &TChoosyControl::SetNotifications,
                                        SC_FRAME_CONTROLLER_PROPERTY_NAMES);
    return true;
}();

class FrameController : public ::testing::Test {
protected:
    TOwned<TScFrameController> controller{Create<TScFrameController>(nullptr)};
};

TEST_F(FrameController, LinkingWritesEveryPublishedSettingInOrder) {
    TOwned<TFramedControl> control(Create<TFramedControl>(nullptr));
    controller->SetFrameColor(0x123456);
    controller->SetFrameSides({sdLeft, sdBottom});
    controller->AddControl(control.get());
    // The parent colour first, the colour only while the controller's own
    // ParentColor is off, and nothing the control does not publish.
    EXPECT_EQ(control->log, (std::vector<std::string>{"ParentColor", "Color", "FrameColor", "FrameSides",
                                                      "FrameStyle", "FrameVisible"}));
    EXPECT_EQ(control->FrameColor(), 0x123456);
    EXPECT_EQ(control->FrameSides(), (TSides{sdLeft, sdBottom}));
    EXPECT_EQ(control->FrameStyle(), fsFlat);
    EXPECT_EQ(control->Color(), clWindow);

    control->log.clear();
    controller->AddControl(control.get());
    EXPECT_TRUE(control->log.empty()) << "a second link is ignored";
}

TEST_F(FrameController, OneChangeNotifiesOneProperty) {
    TOwned<TFramedControl> control(Create<TFramedControl>(nullptr));
    controller->AddControl(control.get());
    control->log.clear();

    controller->SetFrameStyle(fsRaised);
    EXPECT_EQ(control->log, std::vector<std::string>{"FrameStyle"});
    controller->SetFrameStyle(fsRaised);
    EXPECT_EQ(control->log.size(), 1u) << "an unchanged value notifies nobody";
    controller->SetFlatButtons(false);
    EXPECT_EQ(control->log.size(), 1u) << "the control does not publish FlatButtons";

    control->log.clear();
    controller->SetParentColor(true);
    controller->SetParentColor(false);
    EXPECT_EQ(control->log, (std::vector<std::string>{"ParentColor", "ParentColor", "Color"}));
}

TEST_F(FrameController, NotificationBitsChooseWhatIsWritten) {
    TOwned<TChoosyControl> control(Create<TChoosyControl>(nullptr));
    control->SetNotifications({fcpFrameStyle, fcpColor});
    controller->AddControl(control.get());
    EXPECT_EQ(control->log, (std::vector<std::string>{"Color", "FrameStyle"}));
    control->log.clear();
    controller->SetFrameColor(clRed);
    controller->SetFrameStyle(fsBump);
    EXPECT_EQ(control->log, std::vector<std::string>{"FrameStyle"});
}

TEST_F(FrameController, BatchedChangesArriveOnceAsAll) {
    TOwned<TSelfReadingControl> reader(Create<TSelfReadingControl>(nullptr));
    controller->AddControl(reader.get());
    EXPECT_EQ(reader->updates, 1);
    EXPECT_TRUE(reader->log.empty()) << "a control that reads for itself is not written to";

    controller->BeginUpdate();
    controller->BeginUpdate();
    controller->SetFrameStyle(fsGroove);
    controller->SetFrameColor(clLime);
    controller->EndUpdate();
    EXPECT_EQ(reader->updates, 1) << "still inside the outer update";
    controller->EndUpdate();
    EXPECT_EQ(reader->updates, 2);
    // An unbalanced EndUpdate does not leave the counter negative.
    controller->EndUpdate();
    controller->SetFrameStyle(fsBump);
    EXPECT_EQ(reader->updates, 4);
}

TEST_F(FrameController, ColourMovesTheFocusColourThatFollowedIt) {
    controller->SetColor(clYellow);
    EXPECT_EQ(controller->FocusColor(), clYellow);
    controller->SetFocusColor(clAqua);
    controller->SetColor(clWhite);
    EXPECT_EQ(controller->FocusColor(), clAqua);

    controller->SetParentColor(true);
    controller->SetColor(clBlack);
    EXPECT_FALSE(controller->ParentColor()) << "a colour of its own ends the parent's";
}

TEST_F(FrameController, HotTrackingShowsTheFrameOnAllSides) {
    controller->SetFrameSides({sdTop});
    controller->SetFrameHotTrack(true);
    EXPECT_TRUE(controller->FrameVisible());
    EXPECT_EQ(controller->FrameSides(), AllSides);
}

TEST_F(FrameController, EitherSideMayGoFirst) {
    TFramedControl* control = Create<TFramedControl>(nullptr);
    controller->AddControl(control);
    control->Free();
    EXPECT_EQ(controller->ControlCount(), 0) << "a freed control is dropped";
    controller->SetFrameStyle(fsBump);  // would reach the freed control

    using TWatchedController = TQuarantined<TScFrameController>;
    TWatchedController::FreedUntouched();
    TFramedControl* survivor = Create<TFramedControl>(nullptr);
    TScFrameController* second = Create<TWatchedController>(nullptr);
    second->AddControl(survivor);
    second->Free();
    ASSERT_TRUE(TWatchedController::Freed());
    survivor->Free();  // tells no one about it any more
    EXPECT_TRUE(TWatchedController::FreedUntouched());

    TScRegIniFile* storage = Create<TScRegIniFile>(nullptr);
    controller->SetRegIniFile(storage);
    storage->Free();
    EXPECT_EQ(controller->RegIniFile(), nullptr);
}

TEST_F(FrameController, AssignCopiesSettingsInOneUpdate) {
    TOwned<TSelfReadingControl> reader(Create<TSelfReadingControl>(nullptr));
    controller->AddControl(reader.get());
    TOwned<TScFrameController> source(Create<TScFrameController>(nullptr));
    source->SetFrameStyle(fsLowered);
    source->SetFrameColor(clMaroon);
    source->SetParentColor(true);
    controller->Assign(source.get());
    EXPECT_EQ(reader->updates, 2);
    EXPECT_EQ(controller->FrameStyle(), fsLowered);
    EXPECT_EQ(controller->FrameColor(), clMaroon);
    EXPECT_TRUE(controller->ParentColor());
}

// A form file from an older version, written by hand.
TOwned<TMemoryStream> OldFormFile(bool FrameFlat) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    TOwned<TWriter> writer(Create<TWriter>(stream.get()));
    writer->WriteStr("FrameFlat");
    writer->WriteBoolean(FrameFlat);
    writer->WriteStr("FrameFocusStyle");
    writer->WriteIdent("fsButtonUp");
    writer->WriteStr("FrameFlatStyle");
    writer->WriteIdent("fsFlatBold");
    writer->WriteStr("FrameColor");
    writer->WriteInteger(0x0000FF);
    writer->WriteListEnd();
    stream->SetPosition(0);
    return stream;
}

TEST(FrameControllerFiles, ObsoletePropertiesAreReadAndDropped) {
    TOwned<TScFrameController> controller(Create<TScFrameController>(nullptr));
    auto old = OldFormFile(true);
    ReadObjectProperties(old.get(), controller.get());
    EXPECT_TRUE(controller->FrameHotTrack());
    EXPECT_EQ(controller->FrameStyle(), fsStatus);
    // FrameFocusStyle comes after FrameFlat and wins.
    EXPECT_EQ(controller->FrameHotStyle(), fsButtonUp);
    EXPECT_EQ(controller->FrameColor(), 0x0000FF);

    TOwned<TMemoryStream> saved(Create<TMemoryStream>());
    WriteObjectProperties(saved.get(), controller.get());
    const std::string bytes(static_cast<const char*>(saved->Memory()), static_cast<size_t>(saved->Size()));
    EXPECT_EQ(bytes.find("FrameFlat"), std::string::npos);
    EXPECT_EQ(bytes.find("FrameFocusStyle"), std::string::npos);

    saved->SetPosition(0);
    TOwned<TScFrameController> again(Create<TScFrameController>(nullptr));
    ReadObjectProperties(saved.get(), again.get());
    EXPECT_EQ(again->FrameStyle(), fsStatus);
    EXPECT_EQ(again->FrameHotStyle(), fsButtonUp);
    EXPECT_TRUE(again->FrameHotTrack());
}

}  // namespace
