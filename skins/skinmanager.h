// The process-wide skin manager: the skins selectable by name
// (`TSbSkinsList`), the current skin, the effective skin type, and the
// skin-change message to every registered control (`TSbSkinManager`).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "classlib/core/strings.h"
#include "classlib/windows/messages.h"
#include "skins/skinoptions.h"

class TControl;

// Dispatched to every registered control when the skin changes.
constexpr UINT SM_SKINCHANGE = 0x87D7;

// One selectable skin: a skin class, or a skin text (owned).
class TSbSkinsListEntry : public TObject {
    VX_CLASS(TSbSkinsListEntry, TObject)
public:
    explicit TSbSkinsListEntry(TClass ASkinClass) : SkinClass(ASkinClass) {}
    explicit TSbSkinsListEntry(TStrings* ASkinStrings);

    TClass SkinClass = nullptr;
    TOwned<TStringList> SkinStrings;
};

// Skin names (compared without case) with their owned entries.
class TSbSkinsList : public TStringList {
    VX_CLASS(TSbSkinsList, TStringList)
public:
    // The index of the new name, or -1 (and nothing changes) when the name
    // is empty or already there: the first registration wins.
    int AddSkin(const std::string& Name, TClass SkinClass);
    void Delete(int Index) override;
    TSbSkinsListEntry* Entry(int Index) const { return static_cast<TSbSkinsListEntry*>(Objects(Index)); }

protected:
    ~TSbSkinsList() override;
};

class TSbSkinManager : public TObject {
    VX_CLASS(TSbSkinManager, TObject)
public:
    TSbSkinManager();

    // The skin in force. Painters hold the pointer while they paint, so a
    // selection made meanwhile cannot free the skin under them; fetch it
    // again for every paint.
    std::shared_ptr<TSbSkinOptions> CurrentSkin() const { return currentSkin_; }
    TSbSkinsList* SkinsList() const { return skinsList_.get(); }
    TSbSkinType GetSkinType() const { return skinType_; }
    bool IsDefaultSkin() const { return currentSkin_->SkinName == "Default"; }

    // "Default" (any case) resets the skin; a registered name builds that
    // skin; an unknown name does nothing. The old skin stays when building
    // the new one fails.
    void SetSkin(const std::string& Name);
    void SetToDefaultSkin();
    void BroadcastChanges();

    // Registering twice keeps one registration; both return the index. A
    // receiver leaves in its BeforeDestruction, through the free
    // RemoveSkinNotification, which is safe after the unit has shut down.
    int AddSkinNotification(TControl* Receiver);
    void RemoveSkinNotification(TControl* Receiver);
    int NotifyCount() const { return static_cast<int>(notifyList_.size()); }

    // The answer to WM_THEMECHANGED (also reached through the theme
    // services' change listeners).
    void WMThemeChanged(TMessage& Message);
    // Counts the theme changes seen, so that sizes read from the theme can be
    // kept until the next one.
    unsigned ThemeGeneration() const { return themeGeneration_; }

protected:
    ~TSbSkinManager() override;

private:
    struct TReceiver {
        TControl* Control;
        std::uint64_t Serial;
    };
    void ThemeChanged(TObject* Sender);
    void SwapSkin(std::shared_ptr<TSbSkinOptions> Skin);

    std::shared_ptr<TSbSkinOptions> currentSkin_;
    TOwned<TSbSkinsList> skinsList_;
    TSbSkinType skinType_ = sknNone;
    std::vector<TReceiver> notifyList_;
    // Serial number of each registration, so that a broadcast can tell a
    // receiver that left (or left and came back) from one still in place.
    std::unordered_map<TControl*, std::uint64_t> registered_;
    std::uint64_t nextSerial_ = 1;
    std::uint64_t broadcasts_ = 0;
    unsigned themeGeneration_ = 0;
};

// The manager, made on first use (null once the skins unit has shut down).
TSbSkinManager* SkinManager();
// The manager's current skin (see TSbSkinManager::CurrentSkin).
std::shared_ptr<TSbSkinOptions> CurrentSkin();
// The effective skin type; sknNone once the skins unit has shut down.
TSbSkinType CurrentSkinType();
// For receivers leaving: does nothing when there is no manager any more.
void RemoveSkinNotification(TControl* Receiver);

// Start-up and shut-down of the skins unit (measuring bitmap, manager).
void InitSkinsUnit();
void FinalizeSkinsUnit();
// The 8 x 8 canvas that menu metrics are measured on.
TCanvas* SkinMeasureCanvas();

TSbSkinType ResolveSkinType(TSbSkinType Requested);
bool IsXPThemesEnabled();
bool IsWindowsVista();
// 0 blue, 1 silver, 2 olive, 3 unknown, from the theme file and colour scheme
// names; GetLunaColorScheme() asks the theme services for them.
int LunaColorSchemeOf(const std::wstring& ThemeFileName, const std::wstring& ColorScheme);
int GetLunaColorScheme();
