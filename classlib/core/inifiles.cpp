#include "classlib/core/inifiles.h"

#include <vector>

#include "classlib/core/files.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"

// ---- The INI text model ----------------------------------------------------

namespace classlib_detail {

// An INI text as lines: sections of key lines and kept lines (comments,
// blanks, anything else), plus the kept lines above the first section.
class TIniText {
public:
    void Clear() {
        preamble_.clear();
        sections_.clear();
    }

    void Load(TStrings* list) {
        Clear();
        std::vector<TLine>* target = &preamble_;
        for (int i = 0; i < list->Count(); ++i) {
            std::string raw = list->Strings(i);
            std::string line = Trim(raw);
            size_t equals = line.find('=');
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                sections_.push_back({Trim(line.substr(1, line.size() - 2)), {}});
                target = &sections_.back().Lines;
            } else if (line.empty() || line[0] == ';' || equals == std::string::npos ||
                       target == &preamble_) {
                target->push_back({raw, {}, {}, false});
            } else {
                target->push_back({{}, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), true});
            }
        }
    }

    void Save(TStrings* list) const {
        list->BeginUpdate();
        try {
            for (const TLine& line : preamble_) list->Add(line.Text());
            for (const TSection& section : sections_) {
                list->Add("[" + section.Name + "]");
                for (const TLine& line : section.Lines) list->Add(line.Text());
            }
        } catch (...) {
            list->EndUpdate();
            throw;
        }
        list->EndUpdate();
    }

    bool Read(const std::string& section, const std::string& ident, std::string& value) const {
        const TSection* found = FindSection(section);
        const TLine* key = found ? FindKey(*found, ident) : nullptr;
        if (key) value = key->Value;
        return key != nullptr;
    }

    void Write(const std::string& section, const std::string& ident, const std::string& value) {
        TSection* found = FindSection(section);
        if (!found) found = AddSection(section);
        if (TLine* key = FindKey(*found, ident)) {
            key->Value = value;
            return;
        }
        found->Lines.insert(found->Lines.begin() + static_cast<std::ptrdiff_t>(NewKeyPosition(*found)),
                            {{}, ident, value, true});
    }

    bool DeleteKey(const std::string& section, const std::string& ident) {
        TSection* found = FindSection(section);
        TLine* key = found ? FindKey(*found, ident) : nullptr;
        if (!key) return false;
        found->Lines.erase(found->Lines.begin() + (key - found->Lines.data()));
        return true;
    }

    bool EraseSection(const std::string& section) {
        size_t before = sections_.size();
        std::erase_if(sections_, [&](const TSection& s) { return AnsiSameText(s.Name, section); });
        return sections_.size() != before;
    }

    std::vector<std::string> SectionNames() const {
        std::vector<std::string> names;
        for (const TSection& section : sections_)
            if (FindSection(section.Name) == &section) names.push_back(section.Name);
        return names;
    }

    // The key lines of the section as (name, value); empty when it is missing.
    std::vector<std::pair<std::string, std::string>> Keys(const std::string& section) const {
        std::vector<std::pair<std::string, std::string>> keys;
        if (const TSection* found = FindSection(section))
            for (const TLine& line : found->Lines)
                if (line.IsKey) keys.emplace_back(line.Name, line.Value);
        return keys;
    }

private:
    struct TLine {
        std::string Kept;  // the line as read, when it is no key
        std::string Name, Value;
        bool IsKey;
        std::string Text() const { return IsKey ? Name + "=" + Value : Kept; }
    };
    struct TSection {
        std::string Name;
        std::vector<TLine> Lines;
    };

    const TSection* FindSection(const std::string& name) const {
        for (const TSection& section : sections_)
            if (AnsiSameText(section.Name, name)) return &section;
        return nullptr;
    }
    TSection* FindSection(const std::string& name) {
        return const_cast<TSection*>(static_cast<const TIniText*>(this)->FindSection(name));
    }
    static const TLine* FindKey(const TSection& section, const std::string& ident) {
        for (const TLine& line : section.Lines)
            if (line.IsKey && AnsiSameText(line.Name, ident)) return &line;
        return nullptr;
    }
    static TLine* FindKey(TSection& section, const std::string& ident) {
        return const_cast<TLine*>(FindKey(static_cast<const TSection&>(section), ident));
    }

    // After the last key, else after the last line that is not blank, so the
    // blank line that parts sections stays at the end.
    static size_t NewKeyPosition(const TSection& section) {
        const auto& lines = section.Lines;
        for (size_t i = lines.size(); i > 0; --i)
            if (lines[i - 1].IsKey) return i;
        for (size_t i = lines.size(); i > 0; --i)
            if (!Trim(lines[i - 1].Kept).empty()) return i;
        return 0;
    }

    TSection* AddSection(const std::string& name) {
        std::vector<TLine>* last = sections_.empty() ? &preamble_ : &sections_.back().Lines;
        bool somethingAbove = !preamble_.empty() || !sections_.empty();
        if (somethingAbove && (last->empty() || last->back().IsKey || !Trim(last->back().Kept).empty()))
            last->push_back({{}, {}, {}, false});
        sections_.push_back({name, {}});
        return &sections_.back();
    }

    std::vector<TLine> preamble_;
    std::vector<TSection> sections_;
};

}  // namespace classlib_detail

using classlib_detail::TIniText;

namespace {

template <class Fill>
void ReplaceContent(TStrings* strings, Fill fill) {
    strings->BeginUpdate();
    try {
        strings->Clear();
        fill();
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

void ListKeyNames(const TIniText& text, const std::string& section, TStrings* strings) {
    auto keys = text.Keys(section);
    ReplaceContent(strings, [&] {
        for (const auto& [name, value] : keys) strings->Add(name);
    });
}

void ListKeyValues(const TIniText& text, const std::string& section, TStrings* strings) {
    auto keys = text.Keys(section);
    ReplaceContent(strings, [&] {
        for (const auto& [name, value] : keys) strings->Add(name + "=" + value);
    });
}

void ListSectionNames(const TIniText& text, TStrings* strings) {
    auto names = text.SectionNames();
    ReplaceContent(strings, [&] {
        for (const std::string& name : names) strings->Add(name);
    });
}

}  // namespace

// ---- TCustomIniFile --------------------------------------------------------

bool TCustomIniFile::SectionExists(const std::string& section) {
    TOwned<TStringList> keys(Create<TStringList>());
    ReadSection(section, keys.get());
    return keys->Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
    TOwned<TStringList> keys(Create<TStringList>());
    ReadSection(section, keys.get());
    return keys->IndexOf(ident) >= 0;
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) {
    return StrToIntDef(ReadString(section, ident, ""), defaultValue);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

// ---- TMemIniFile -----------------------------------------------------------

TMemIniFile::TMemIniFile(const std::string& fileName)
    : TCustomIniFile(fileName), text_(std::make_unique<TIniText>()) {
    LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues() {
    if (fileName_.empty() || !FileExists(fileName_)) {
        Clear();
        return;
    }
    TOwned<TStringList> lines(Create<TStringList>());
    lines->LoadFromFile(fileName_);
    SetStrings(lines.get());
}

void TMemIniFile::GetStrings(TStrings* list) {
    text_->Save(list);
}

void TMemIniFile::SetStrings(TStrings* list) {
    text_->Load(list);
}

void TMemIniFile::Clear() {
    text_->Clear();
}

void TMemIniFile::Rename(const std::string& fileName, bool reload) {
    fileName_ = fileName;
    if (reload) LoadValues();
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& defaultValue) {
    std::string value;
    return text_->Read(section, ident, value) ? value : defaultValue;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& ident,
                              const std::string& value) {
    text_->Write(section, ident, value);
}

void TMemIniFile::ReadSection(const std::string& section, TStrings* strings) {
    ListKeyNames(*text_, section, strings);
}

void TMemIniFile::ReadSections(TStrings* strings) {
    ListSectionNames(*text_, strings);
}

void TMemIniFile::ReadSectionValues(const std::string& section, TStrings* strings) {
    ListKeyValues(*text_, section, strings);
}

void TMemIniFile::EraseSection(const std::string& section) {
    text_->EraseSection(section);
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    text_->DeleteKey(section, ident);
}

void TMemIniFile::UpdateFile() {
    TOwned<TStringList> lines(Create<TStringList>());
    GetStrings(lines.get());
    lines->SaveToFile(fileName_);
}

// ---- TIniFile --------------------------------------------------------------

TIniFile::TIniFile(const std::string& fileName) : TCustomIniFile(fileName) {}

std::unique_ptr<TIniText> TIniFile::Load(bool forChange) const {
    auto text = std::make_unique<TIniText>();
    if (!FileExists(fileName_)) return text;
    try {
        TOwned<TStringList> lines(Create<TStringList>());
        lines->LoadFromFile(fileName_);
        text->Load(lines.get());
    } catch (const EStreamError&) {
        // Saving what could not be read would wipe the file.
        if (forChange) throw EIniFileException("Unable to write to " + fileName_);
        text->Clear();
    }
    return text;
}

void TIniFile::Save(const TIniText& text) const {
    TOwned<TStringList> lines(Create<TStringList>());
    text.Save(lines.get());
    try {
        lines->SaveToFile(fileName_);
    } catch (const EStreamError&) {
        throw EIniFileException("Unable to write to " + fileName_);
    }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) {
    std::string value;
    return Load(false)->Read(section, ident, value) ? value : defaultValue;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    auto text = Load(true);
    text->Write(section, ident, value);
    Save(*text);
}

void TIniFile::ReadSection(const std::string& section, TStrings* strings) {
    ListKeyNames(*Load(false), section, strings);
}

void TIniFile::ReadSections(TStrings* strings) {
    ListSectionNames(*Load(false), strings);
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings* strings) {
    ListKeyValues(*Load(false), section, strings);
}

void TIniFile::EraseSection(const std::string& section) {
    auto text = Load(true);
    if (text->EraseSection(section)) Save(*text);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    try {
        auto text = Load(true);
        if (text->DeleteKey(section, ident)) Save(*text);
    } catch (const EIniFileException&) {
    }
}
