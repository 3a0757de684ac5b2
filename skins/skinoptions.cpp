#include "skins/skinoptions.h"

#include <atomic>
#include <vector>

#include "classlib/core/strings.h"
#include "classlib/core/text.h"
#include "skins/skincolors.h"
#include "skins/skinmanager.h"

namespace {

std::atomic<int> liveSkins{0};

}  // namespace

// ---- TSbSkinOptionEntry ----------------------------------------------------

void TSbSkinOptionEntry::Fill(int ASkinType, TColor AColor1, TColor AColor2, TColor AColor3, TColor AColor4) {
    SkinType = ASkinType;
    Color1 = AColor1;
    Color2 = AColor2;
    Color3 = AColor3;
    Color4 = AColor4;
}

bool TSbSkinOptionEntry::IsEmpty() const {
    return Color1 == clNone && Color2 == clNone && Color3 == clNone && Color4 == clNone;
}

bool TSbSkinOptionEntry::SameAs(const TSbSkinOptionEntry& Other) const {
    return SkinType == Other.SkinType && Color1 == Other.Color1 && Color2 == Other.Color2 &&
           Color3 == Other.Color3 && Color4 == Other.Color4;
}

TColor TSbSkinOptionEntry::Color(int Index) const {
    switch (Index) {
        case 1:
            return Color1;
        case 2:
            return Color2;
        case 3:
            return Color3;
        default:
            return Color4;
    }
}

std::string TSbSkinOptionEntry::ToText() const {
    return IntToStr(SkinType) + ", " + ColorToSkinString(Color1) + ", " + ColorToSkinString(Color2) + ", " +
           ColorToSkinString(Color3) + ", " + ColorToSkinString(Color4);
}

void TSbSkinOptionEntry::FromText(const std::string& Text) {
    Reset();
    if (Text.empty()) return;
    const std::vector<std::string> fields = SplitDelimitedText(Text);
    if (!fields.empty()) SkinType = StrToIntDef(fields[0], 0);
    TColor* colors[] = {&Color1, &Color2, &Color3, &Color4};
    for (std::size_t i = 1; i < fields.size() && i <= 4; ++i) {
        // Older skin files may hold anything here; the fields read so far stay.
        try {
            *colors[i - 1] = StringToColor(fields[i]);
        } catch (const EConvertError&) {
            return;
        }
    }
}

void TSbSkinOptionEntry::AssignTo(TPersistent* Dest) {
    if (auto* entry = dynamic_cast<TSbSkinOptionEntry*>(Dest)) {
        entry->Fill(SkinType, Color1, Color2, Color3, Color4);
        return;
    }
    inherited::AssignTo(Dest);
}

// ---- TSbSkinOptionCategory -------------------------------------------------

TSbSkinOptionCategory::TSbSkinOptionCategory()
    : body_(MakeOwned<TSbSkinOptionEntry>()), borders_(MakeOwned<TSbSkinOptionEntry>()) {}

bool TSbSkinOptionCategory::IsEmpty() const {
    return body_->IsEmpty() && borders_->IsEmpty() && TextColor == clNone;
}

void TSbSkinOptionCategory::Reset() {
    body_->Reset();
    borders_->Reset();
    TextColor = clNone;
}

bool TSbSkinOptionCategory::SameAs(const TSbSkinOptionCategory& Other) const {
    // An empty category paints nothing whatever its types say.
    if (IsEmpty() && Other.IsEmpty()) return true;
    return body_->SameAs(*Other.body_) && borders_->SameAs(*Other.borders_) && TextColor == Other.TextColor;
}

void TSbSkinOptionCategory::AssignTo(TPersistent* Dest) {
    if (auto* category = dynamic_cast<TSbSkinOptionCategory*>(Dest)) {
        category->body_->Assign(body_.get());
        category->borders_->Assign(borders_.get());
        category->TextColor = TextColor;
        return;
    }
    inherited::AssignTo(Dest);
}

// ---- TSbSkinOptions --------------------------------------------------------

TSbSkinOptions::TSbSkinOptions() {
    for (auto& component : options_)
        for (auto& category : component) category = MakeOwned<TSbSkinOptionCategory>();
    ++liveSkins;
}

TSbSkinOptions::~TSbSkinOptions() {
    --liveSkins;
}

int TSbSkinOptions::LiveCount() {
    return liveSkins;
}

void TSbSkinOptions::AfterConstruction() {
    inherited::AfterConstruction();
    FillOptions();
}

TSbSkinOptionCategory* TSbSkinOptions::Options(TSbSkinComponentsType Component,
                                               TSbSkinStatesType State) const {
    if (!HasPerStateCategories(Component)) State = sknsNormal;
    return options_[Component][State].get();
}

void TSbSkinOptions::Reset() {
    SkinName = "Default";
    OfficeStatusBar = false;
    OfficeIcons = false;
    ColorBtnFace = clBtnFace;
    for (auto& component : options_)
        for (auto& category : component) category->Reset();
}

void TSbSkinOptions::CopyOptions(TSbSkinComponentsType From, TSbSkinComponentsType To) {
    for (int state = 0; state < SkinStateCount; ++state)
        options_[To][state]->Assign(options_[From][state].get());
}

bool TSbSkinOptions::SameAs(const TSbSkinOptions& Other) const {
    if (SkinName != Other.SkinName || ColorBtnFace != Other.ColorBtnFace ||
        OfficeStatusBar != Other.OfficeStatusBar || OfficeIcons != Other.OfficeIcons)
        return false;
    for (int c = 0; c < SkinComponentCount; ++c)
        for (int s = 0; s < SkinStateCount; ++s) {
            const auto component = static_cast<TSbSkinComponentsType>(c);
            const auto state = static_cast<TSbSkinStatesType>(s);
            if (!Options(component, state)->SameAs(*Other.Options(component, state))) return false;
        }
    return true;
}

void TSbSkinOptions::AssignTo(TPersistent* Dest) {
    auto* skin = dynamic_cast<TSbSkinOptions*>(Dest);
    if (!skin) {
        inherited::AssignTo(Dest);
        return;
    }
    for (int c = 0; c < SkinComponentCount; ++c)
        for (int s = 0; s < SkinStateCount; ++s)
            skin->options_[c][s]->Assign(
                Options(static_cast<TSbSkinComponentsType>(c), static_cast<TSbSkinStatesType>(s)));
    skin->OfficeStatusBar = OfficeStatusBar;
    skin->OfficeIcons = OfficeIcons;
    skin->SkinName = SkinName;
    skin->ColorBtnFace = ColorBtnFace;
}

TSbSkinStatesType TSbSkinOptions::GetState(bool Enabled, bool Pushed, bool HotTracked, bool Checked) {
    if (!Enabled) return sknsDisabled;
    if (Pushed) return sknsPushed;
    if (HotTracked && Checked) return sknsCheckedAndHotTrack;
    if (HotTracked) return sknsHotTrack;
    if (Checked) return sknsChecked;
    return sknsNormal;
}

bool TSbSkinOptions::OfficeStatusBarInForce() const {
    const TSbSkinType type = CurrentSkinType();
    return (OfficeStatusBar && type == sknSkin) || type == sknNone;
}

bool TSbSkinOptions::OfficeIconsInForce() const {
    return OfficeIcons && CurrentSkinType() == sknSkin;
}

bool TSbSkinOptions::OpenToolbarItemDefined() const {
    return CurrentSkinType() == sknSkin && !Options(skncOpenToolbarItem)->IsEmpty();
}
