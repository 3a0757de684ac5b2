// The skin text (INI) of TSbSkinOptions: writing, saving over existing text
// and loading.
//
// Skin components are looked up by name through hash maps built once per
// call (names compared without regard to ASCII case, the first of equal
// names winning), not key by key through the INI object: a skin has some
// 600 possible keys and a lookup by the locale's comparison costs each of
// them a scan.
#include <functional>
#include <unordered_map>
#include <vector>

#include "classlib/core/inifiles.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"
#include "skins/skincolors.h"
#include "skins/skinoptions.h"

namespace {

constexpr const char* kSkinSection = "Skin";
constexpr const char* kCategoryKeys[] = {".Body", ".Borders", ".TextColor"};

using TWriteValue =
    std::function<void(const std::string& section, const std::string& key, const std::string& value)>;

// The state prefixes a component is written and read with.
int StatesOf(TSbSkinComponentsType component) {
    return HasPerStateCategories(component) ? SkinStateCount : 1;
}

// The first of equal names (without regard to ASCII case) wins.
template <class Value>
void AddFirst(std::unordered_map<std::string, Value>& map, const std::string& name, const Value& value) {
    map.emplace(LowerCase(name), value);
}

// An empty value takes the default; anything else must be a colour.
TColor ReadColor(const std::string& value, TColor defaultValue, const std::string& section,
                 const std::string& key) {
    const std::string text = Trim(value);
    if (text.empty()) return defaultValue;
    try {
        return StringToColor(text);
    } catch (const EConvertError& error) {
        throw EConvertError("Skin text, section [" + section + "], key " + key + ": " + error.Message());
    }
}

// The INI text's section names, by lower-case name.
std::unordered_map<std::string, std::string> SectionsOf(TCustomIniFile* ini) {
    TOwned<TStringList> names = MakeOwned<TStringList>();
    ini->ReadSections(names.get());
    std::unordered_map<std::string, std::string> sections;
    for (int i = 0; i < names->Count(); ++i) AddFirst(sections, names->Strings(i), names->Strings(i));
    return sections;
}

// One section's keys and values, by lower-case key.
std::unordered_map<std::string, std::string> ValuesOf(TCustomIniFile* ini, const std::string& section) {
    TOwned<TStringList> lines = MakeOwned<TStringList>();
    ini->ReadSectionValues(section, lines.get());
    std::unordered_map<std::string, std::string> values;
    for (int i = 0; i < lines->Count(); ++i) AddFirst(values, lines->Names(i), lines->ValueFromIndex(i));
    return values;
}

std::string Lookup(const std::unordered_map<std::string, std::string>& values, const std::string& key) {
    auto found = values.find(LowerCase(key));
    return found == values.end() ? std::string() : found->second;
}

}  // namespace

namespace skins_detail {

// Every value of the skin text, in the order SaveToIni writes them.
void WriteSkinValues(TSbSkinOptions* skin, const TWriteValue& write) {
    write(kSkinSection, "Name", skin->SkinName);
    write(kSkinSection, "OfficeStatusBar", skin->OfficeStatusBar ? "1" : "0");
    write(kSkinSection, "OfficeIcons", skin->OfficeIcons ? "1" : "0");
    write(kSkinSection, "ColorBtnFace", ColorToSkinString(skin->ColorBtnFace));
    for (int c = 0; c < SkinComponentCount; ++c) {
        const auto component = static_cast<TSbSkinComponentsType>(c);
        const std::string section = SkinComponentName(component);
        for (int s = 0; s < StatesOf(component); ++s) {
            const TSbSkinOptionCategory* category =
                skin->Options(component, static_cast<TSbSkinStatesType>(s));
            if (category->IsEmpty()) continue;
            const std::string prefix = SkinStateName(static_cast<TSbSkinStatesType>(s));
            write(section, prefix + ".Body", category->Body()->ToText());
            write(section, prefix + ".Borders", category->Borders()->ToText());
            write(section, prefix + ".TextColor", ColorToSkinString(category->TextColor));
        }
    }
}

}  // namespace skins_detail

void TSbSkinOptions::SaveToIni(TCustomIniFile* Ini) {
    skins_detail::WriteSkinValues(
        this, [&](const std::string& section, const std::string& key, const std::string& value) {
            Ini->WriteString(section, key, value);
        });
}

void TSbSkinOptions::SaveToStrings(TStrings* Strings) {
    TOwned<TMemIniFile> ini = MakeOwned<TMemIniFile>();
    ini->SetStrings(Strings);
    std::unordered_map<std::string, std::string> sections = SectionsOf(ini.get());
    // A category this skin leaves empty writes nothing: an older skin's keys
    // would otherwise load back as part of this one.
    for (int c = 0; c < SkinComponentCount; ++c) {
        const auto component = static_cast<TSbSkinComponentsType>(c);
        auto found = sections.find(LowerCase(SkinComponentName(component)));
        if (found == sections.end()) continue;
        std::unordered_map<std::string, bool> own;
        for (int s = 0; s < StatesOf(component); ++s)
            for (const char* key : kCategoryKeys)
                own[LowerCase(std::string(SkinStateName(static_cast<TSbSkinStatesType>(s))) + key)] = true;
        TOwned<TStringList> keys = MakeOwned<TStringList>();
        ini->ReadSection(found->second, keys.get());
        for (int i = 0; i < keys->Count(); ++i)
            if (own.count(LowerCase(keys->Strings(i)))) ini->DeleteKey(found->second, keys->Strings(i));
    }
    // Sections the text already has are written through the INI object;
    // new ones go to the end as the INI object would put them, without a
    // lookup per key.
    std::vector<std::string> appended;
    std::string appendedSection;
    skins_detail::WriteSkinValues(
        this, [&](const std::string& section, const std::string& key, const std::string& value) {
            auto found = sections.find(LowerCase(section));
            if (found != sections.end()) {
                ini->WriteString(found->second, key, value);
                return;
            }
            if (section == kSkinSection) {
                ini->WriteString(section, key, value);
                AddFirst(sections, section, section);
                return;
            }
            if (section != appendedSection) {
                appended.push_back("");
                appended.push_back("[" + section + "]");
                appendedSection = section;
            }
            appended.push_back(key + "=" + value);
        });
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        ini->GetStrings(Strings);
        for (const std::string& line : appended) {
            // The blank line before a new section, unless one is there.
            if (line.empty() &&
                (Strings->Count() == 0 || Trim(Strings->Strings(Strings->Count() - 1)).empty()))
                continue;
            Strings->Add(line);
        }
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

void TSbSkinOptions::LoadFromStrings(TStrings* Strings) {
    TOwned<TMemIniFile> ini = MakeOwned<TMemIniFile>();
    ini->SetStrings(Strings);
    // Read into a plain skin first, so that a failure leaves this one whole.
    TOwned<TSbSkinOptions> loaded = MakeOwned<TSbSkinOptions>();
    loaded->ReadFrom(ini.get());
    Assign(loaded.get());
}

void TSbSkinOptions::ReadFrom(TCustomIniFile* Ini) {
    Reset();
    const std::unordered_map<std::string, std::string> sections = SectionsOf(Ini);
    auto section = [&](const std::string& name) {
        auto found = sections.find(LowerCase(name));
        return found == sections.end() ? std::unordered_map<std::string, std::string>()
                                       : ValuesOf(Ini, found->second);
    };
    const auto skin = section(kSkinSection);
    SkinName = Lookup(skin, "Name");
    OfficeStatusBar = StrToIntDef(Lookup(skin, "OfficeStatusBar"), 0) != 0;
    OfficeIcons = StrToIntDef(Lookup(skin, "OfficeIcons"), 0) != 0;
    ColorBtnFace = ReadColor(Lookup(skin, "ColorBtnFace"), clBtnFace, kSkinSection, "ColorBtnFace");
    for (int c = 0; c < SkinComponentCount; ++c) {
        const auto component = static_cast<TSbSkinComponentsType>(c);
        const std::string name = SkinComponentName(component);
        if (!sections.count(LowerCase(name))) continue;
        const auto values = section(name);
        for (int s = 0; s < StatesOf(component); ++s) {
            TSbSkinOptionCategory* category = options_[c][s].get();
            const std::string prefix = SkinStateName(static_cast<TSbSkinStatesType>(s));
            category->Body()->FromText(Lookup(values, prefix + ".Body"));
            category->Borders()->FromText(Lookup(values, prefix + ".Borders"));
            category->TextColor =
                ReadColor(Lookup(values, prefix + ".TextColor"), clNone, name, prefix + ".TextColor");
        }
    }
}
