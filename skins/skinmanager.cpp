#include "skins/skinmanager.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/services/osversion.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/themes.h"

namespace {

struct TSkinsUnit {
    TSbSkinManager* Manager = nullptr;
    TBitmap* MeasureBitmap = nullptr;
    bool ShutDown = false;
};

TSkinsUnit& Unit() {
    static TSkinsUnit unit;
    return unit;
}

std::shared_ptr<TSbSkinOptions> Share(TSbSkinOptions* skin) {
    return std::shared_ptr<TSbSkinOptions>(skin, TObjectDeleter());
}

std::wstring UpperWide(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; });
    return text;
}

TSbSkinType ResolveSkinTypeFor(TSbSkinType requested, bool defaultSkin) {
    TSbSkinType result = requested;
    if (result == sknSkin && defaultSkin) result = sknWindows;
    if (result == sknWindows && !IsXPThemesEnabled()) result = sknNone;
    return result;
}

}  // namespace

// ---- TSbSkinsList ----------------------------------------------------------

TSbSkinsListEntry::TSbSkinsListEntry(TStrings* ASkinStrings) : SkinStrings(MakeOwned<TStringList>()) {
    SkinStrings->Assign(ASkinStrings);
}

int TSbSkinsList::AddSkin(const std::string& Name, TClass SkinClass) {
    if (Name.empty() || IndexOf(Name) >= 0) return -1;
    TOwned<TSbSkinsListEntry> entry = MakeOwned<TSbSkinsListEntry>(SkinClass);
    const int index = AddObject(Name, entry.get());
    entry.release();
    return index;
}

void TSbSkinsList::Delete(int Index) {
    if (Index >= 0 && Index < Count()) {
        TObject* entry = Objects(Index);
        SetObjects(Index, nullptr);
        if (entry) entry->Free();
    }
    inherited::Delete(Index);
}

TSbSkinsList::~TSbSkinsList() {
    while (Count() > 0) Delete(0);
}

// ---- TSbSkinManager --------------------------------------------------------

TSbSkinManager::TSbSkinManager()
    : currentSkin_(Share(Create<TSbSkinOptions>())), skinsList_(MakeOwned<TSbSkinsList>()) {
    skinType_ = IsXPThemesEnabled() ? sknWindows : sknNone;
    ThemeServices()->AddThemeChangeListener(TNotifyEvent(this, &TSbSkinManager::ThemeChanged));
}

TSbSkinManager::~TSbSkinManager() {
    ThemeServices()->RemoveThemeChangeListener(TNotifyEvent(this, &TSbSkinManager::ThemeChanged));
}

void TSbSkinManager::SwapSkin(std::shared_ptr<TSbSkinOptions> Skin) {
    // The old skin goes when its last painter lets it go.
    currentSkin_.swap(Skin);
}

void TSbSkinManager::SetSkin(const std::string& Name) {
    if (SameText(Name, "Default")) {
        SetToDefaultSkin();
        return;
    }
    const int index = skinsList_->IndexOf(Name);
    if (index < 0) return;
    const TSbSkinsListEntry* entry = skinsList_->Entry(index);
    std::shared_ptr<TSbSkinOptions> skin;
    if (entry->SkinClass) {
        TObject* made = CreateInstance(entry->SkinClass);
        auto* options = dynamic_cast<TSbSkinOptions*>(made);
        if (!options) {
            if (made) made->Free();
            return;
        }
        skin = Share(options);
    } else if (entry->SkinStrings) {
        // A skin text is a plain skin: it must not take over the painting of
        // whatever skin class happened to be current.
        skin = Share(Create<TSbSkinOptions>());
        skin->LoadFromStrings(entry->SkinStrings.get());
    } else {
        return;
    }
    SwapSkin(std::move(skin));
    BroadcastChanges();
}

void TSbSkinManager::SetToDefaultSkin() {
    // The skin keeps its class; a fresh object of it, since a painter may
    // still be using the current one.
    TObject* made = CreateInstance(currentSkin_->ClassType());
    auto* options = dynamic_cast<TSbSkinOptions*>(made);
    if (!options) {
        if (made) made->Free();
        options = Create<TSbSkinOptions>();
    }
    std::shared_ptr<TSbSkinOptions> skin = Share(options);
    skin->Reset();
    SwapSkin(std::move(skin));
    BroadcastChanges();
}

void TSbSkinManager::BroadcastChanges() {
    skinType_ = ResolveSkinTypeFor(sknSkin, IsDefaultSkin());
    const std::uint64_t broadcast = ++broadcasts_;
    // Receivers may free one another or select a skin while they are told:
    // walk a snapshot and skip those that left meanwhile.
    const std::vector<TReceiver> snapshot = notifyList_;
    for (const TReceiver& receiver : snapshot) {
        // A newer broadcast has told everyone already.
        if (broadcasts_ != broadcast) return;
        auto found = registered_.find(receiver.Control);
        if (found == registered_.end() || found->second != receiver.Serial) continue;
        TMessage message;
        message.Msg = SM_SKINCHANGE;
        receiver.Control->Dispatch(message);
    }
}

int TSbSkinManager::AddSkinNotification(TControl* Receiver) {
    auto found = std::find_if(notifyList_.begin(), notifyList_.end(),
                              [&](const TReceiver& r) { return r.Control == Receiver; });
    if (found != notifyList_.end()) return static_cast<int>(found - notifyList_.begin());
    const std::uint64_t serial = nextSerial_++;
    notifyList_.push_back({Receiver, serial});
    registered_[Receiver] = serial;
    return static_cast<int>(notifyList_.size()) - 1;
}

void TSbSkinManager::RemoveSkinNotification(TControl* Receiver) {
    auto found = std::find_if(notifyList_.begin(), notifyList_.end(),
                              [&](const TReceiver& r) { return r.Control == Receiver; });
    if (found == notifyList_.end()) return;
    notifyList_.erase(found);
    registered_.erase(Receiver);
}

void TSbSkinManager::WMThemeChanged(TMessage& Message) {
    ThemeServices()->HandleMessage(Message);
    // The theme services call ThemeChanged through their listeners; a
    // message that did not reach them still needs its broadcast.
    if (Message.Msg != WM_THEMECHANGED) BroadcastChanges();
}

void TSbSkinManager::ThemeChanged(TObject*) {
    ++themeGeneration_;
    BroadcastChanges();
}

// ---- Unit routines ---------------------------------------------------------

TSbSkinManager* SkinManager() {
    TSkinsUnit& unit = Unit();
    if (!unit.Manager && !unit.ShutDown) unit.Manager = Create<TSbSkinManager>();
    return unit.Manager;
}

std::shared_ptr<TSbSkinOptions> CurrentSkin() {
    TSbSkinManager* manager = SkinManager();
    return manager ? manager->CurrentSkin() : nullptr;
}

TSbSkinType CurrentSkinType() {
    TSbSkinManager* manager = SkinManager();
    return manager ? manager->GetSkinType() : sknNone;
}

void RemoveSkinNotification(TControl* Receiver) {
    if (TSbSkinManager* manager = Unit().Manager) manager->RemoveSkinNotification(Receiver);
}

void InitSkinsUnit() {
    TSkinsUnit& unit = Unit();
    unit.ShutDown = false;
    if (!unit.MeasureBitmap) {
        unit.MeasureBitmap = Create<TBitmap>();
        unit.MeasureBitmap->SetSize(8, 8);
    }
    SkinManager();
}

void FinalizeSkinsUnit() {
    TSkinsUnit& unit = Unit();
    unit.ShutDown = true;
    FreeAndNil(unit.Manager);
    FreeAndNil(unit.MeasureBitmap);
}

TCanvas* SkinMeasureCanvas() {
    TSkinsUnit& unit = Unit();
    if (!unit.MeasureBitmap) {
        unit.MeasureBitmap = Create<TBitmap>();
        unit.MeasureBitmap->SetSize(8, 8);
    }
    return unit.MeasureBitmap->Canvas();
}

TSbSkinType ResolveSkinType(TSbSkinType Requested) {
    TSbSkinManager* manager = Unit().Manager;
    return ResolveSkinTypeFor(Requested, !manager || manager->IsDefaultSkin());
}

bool IsXPThemesEnabled() {
    return ThemeServices()->ThemesEnabled();
}

bool IsWindowsVista() {
    const TOSVersionInfo version = OSVersion();
    return version.Platform == VER_PLATFORM_WIN32_NT && version.Major == 6;
}

int LunaColorSchemeOf(const std::wstring& ThemeFileName, const std::wstring& ColorScheme) {
    const std::size_t slash = ThemeFileName.find_last_of(L"\\/:");
    const std::wstring file =
        UpperWide(slash == std::wstring::npos ? ThemeFileName : ThemeFileName.substr(slash + 1));
    if (file != L"LUNA.MSSTYLES") return 3;
    const std::wstring scheme = UpperWide(ColorScheme);
    if (scheme == L"NORMALCOLOR") return 0;
    if (scheme == L"METALLIC") return 1;
    if (scheme == L"HOMESTEAD") return 2;
    return 3;
}

int GetLunaColorScheme() {
    std::wstring file, scheme, size;
    if (!IsXPThemesEnabled() || !ThemeServices()->GetCurrentThemeName(file, scheme, size)) return 3;
    return LunaColorSchemeOf(file, scheme);
}
