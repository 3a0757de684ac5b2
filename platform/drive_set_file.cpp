#include "platform/drive_set_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

constexpr int64_t MaxRaw = (int64_t{1} << 48) - 1;

struct TEntry {
    int Line;
    std::string Key;  // lower case, single blanks
    std::string Value;
};

struct TSection {
    int Line;
    int Drive;  // -1 for [system]
    std::vector<TEntry> Entries;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string TrimBlanks(std::string_view text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

// Lower case with runs of blanks made one blank, so "Wmi   Model" is "wmi model".
std::string NormalKey(std::string_view text) {
    std::string key;
    for (char c : TrimBlanks(text)) {
        if (IsBlank(c)) {
            if (key.empty() || key.back() != ' ') key += ' ';
        } else {
            key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return key;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

enum class TNumberProblem { None, NotANumber, TooLarge, TooSmall };

// Decimal, or hexadecimal after "0x"; a minus sign only where allowed. A
// number beyond 64 bits is too large (or, negative, too small), however it
// is written, rather than read with its high digits lost.
std::optional<int64_t> ParseNumber(std::string_view text, TNumberProblem* problem = nullptr) {
    auto fail = [&](TNumberProblem why) -> std::optional<int64_t> {
        if (problem) *problem = why;
        return std::nullopt;
    };
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return fail(TNumberProblem::NotANumber);
    uint64_t value = 0;
    bool tooLarge = false;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base) return fail(TNumberProblem::NotANumber);
        if (value > (uint64_t{INT64_MAX} - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base))
            tooLarge = true;
        else
            value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (tooLarge) return fail(negative ? TNumberProblem::TooSmall : TNumberProblem::TooLarge);
    const auto number = static_cast<int64_t>(value);
    return negative ? -number : number;
}

class TParser {
public:
    explicit TParser(std::wstring fileName) : fileName_(std::move(fileName)) {}

    TDriveSet Parse(std::string_view text) {
        ReadSections(AsUtf8(text));
        TDriveSet set;
        for (const TSection& section : sections_) {
            if (section.Drive < 0)
                ReadSystem(section, set);
            else
                set.Drives[section.Drive] = ReadDrive(section);
        }
        return set;
    }

private:
    [[noreturn]] void Fail(int line, const std::string& problem) const {
        throw EDriveSetError(L"Drive-set file \"" + fileName_ + L"\", line " + std::to_wstring(line) + L": " +
                             ToWide(problem));
    }

    // A file saved as UTF-16 (an editor's "Unicode"), with or without its
    // byte-order mark, is read as the same text in UTF-8 would be; a file in
    // UTF-8 or the code page is taken as it is.
    static std::string AsUtf8(std::string_view text) {
        bool bigEndian;
        if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
            bigEndian = text[0] == '\xFE';
            text.remove_prefix(2);
        } else if (text.size() >= 2 && (text[0] == 0) != (text[1] == 0)) {
            // Without its mark: a drive-set file starts with a letter or a
            // sign, which UTF-16 writes beside a zero byte.
            bigEndian = text[0] == 0;
        } else {
            return std::string(text);
        }
        std::wstring wide;
        for (size_t i = 0; i + 1 < text.size(); i += 2) {
            const auto first = static_cast<unsigned char>(text[i]),
                       second = static_cast<unsigned char>(text[i + 1]);
            wide += static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
        }
        return WideToUtf8(wide);
    }

    // Lines end with LF, CR LF or a CR alone, mixed as editors leave them.
    void ReadSections(std::string_view text) {
        // Editors may start the file with a UTF-8 byte-order mark.
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        int lineNumber = 0;
        while (!text.empty()) {
            ++lineNumber;
            const size_t end = text.find_first_of("\r\n");
            std::string_view line = text.substr(0, end);
            size_t next = end == std::string_view::npos ? text.size() : end + 1;
            if (end != std::string_view::npos && text[end] == '\r' && next < text.size() &&
                text[next] == '\n')
                ++next;
            text.remove_prefix(next);
            ReadLine(lineNumber, line);
        }
    }

    void ReadLine(int lineNumber, std::string_view raw) {
        std::string line = TrimBlanks(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') return;
        if (line[0] == '[') {
            ReadSectionHeader(lineNumber, line);
            return;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) Fail(lineNumber, "expected \"key = value\" or a [section]");
        if (sections_.empty()) Fail(lineNumber, "a key before the first [section]");
        TEntry entry{lineNumber, NormalKey(std::string_view(line).substr(0, equals)),
                     ValueText(lineNumber, std::string_view(line).substr(equals + 1))};
        if (entry.Key.empty()) Fail(lineNumber, "a value without a key");
        for (const TEntry& earlier : sections_.back().Entries)
            if (earlier.Key == entry.Key)
                Fail(lineNumber, Format("\"%s\" is given twice (first on line %d)", entry.Key, earlier.Line));
        sections_.back().Entries.push_back(std::move(entry));
    }

    // A value ends at a ";" that follows a blank; double quotes keep blanks.
    std::string ValueText(int lineNumber, std::string_view text) {
        std::string value = TrimBlanks(text);
        if (!value.empty() && value[0] == '"') {
            const size_t close = value.find('"', 1);
            if (close == std::string::npos) Fail(lineNumber, "a quoted text without its closing quote");
            const std::string rest = TrimBlanks(std::string_view(value).substr(close + 1));
            if (!rest.empty() && rest[0] != ';') Fail(lineNumber, "text after a quoted value");
            return value.substr(1, close - 1);
        }
        for (size_t i = 1; i < value.size(); ++i)
            if (value[i] == ';' && IsBlank(value[i - 1]))
                return TrimBlanks(std::string_view(value).substr(0, i));
        if (!value.empty() && value[0] == ';') return {};
        return value;
    }

    void ReadSectionHeader(int lineNumber, const std::string& line) {
        if (line.back() != ']') Fail(lineNumber, "a section name without its closing \"]\"");
        const std::string name = NormalKey(std::string_view(line).substr(1, line.size() - 2));
        int drive = -1;
        if (name.rfind("drive ", 0) == 0) {
            const auto number = ParseNumber(name.substr(6));
            if (!number || *number < 0 || *number >= MaxSimDrives)
                Fail(lineNumber, Format("the drive number in [%s] must be 0 to %d", name, MaxSimDrives - 1));
            drive = static_cast<int>(*number);
        } else if (name != "system") {
            Fail(lineNumber, Format("unknown section [%s]: use [system] or [drive N]", name));
        }
        for (const TSection& section : sections_)
            if (section.Drive == drive)
                Fail(lineNumber, Format("section [%s] appears twice (first on line %d)", name, section.Line));
        sections_.push_back({lineNumber, drive, {}});
    }

    void ReadSystem(const TSection& section, TDriveSet& set) {
        for (const TEntry& entry : section.Entries) {
            if (entry.Key != "os family")
                Fail(entry.Line, Format("unknown key \"%s\" in [system]", entry.Key));
            const std::string family = NormalKey(entry.Value);
            if (family == "nt")
                set.OsFamily = TOsFamily::WinNT;
            else if (family == "9x")
                set.OsFamily = TOsFamily::Win9x;
            else if (family == "other")
                set.OsFamily = TOsFamily::Other;
            else
                Fail(entry.Line, Format("\"os family\" must be nt, 9x or other, not \"%s\"", entry.Value));
        }
    }

    int64_t Number(const TEntry& entry, const std::string& text, int64_t low, int64_t high,
                   const char* what) {
        TNumberProblem problem = TNumberProblem::None;
        const auto value = ParseNumber(text, &problem);
        if (problem == TNumberProblem::TooLarge)
            Fail(entry.Line, Format("\"%s\" is too large (%s must be %d to %d)", text, what, low, high));
        if (problem == TNumberProblem::TooSmall)
            Fail(entry.Line, Format("\"%s\" is out of range (%s must be %d to %d)", text, what, low, high));
        if (!value) Fail(entry.Line, Format("\"%s\" is not a number (%s)", text, what));
        if (*value < low || *value > high)
            Fail(entry.Line, Format("%s must be %d to %d, not %d", what, low, high, *value));
        return *value;
    }

    std::string Text(const TEntry& entry, size_t maxLength) {
        if (entry.Value.size() > maxLength)
            Fail(entry.Line,
                 Format("\"%s\" is longer than %d characters", entry.Key, static_cast<int>(maxLength)));
        return entry.Value;
    }

    // Up to 512 bytes as hex digits; blanks are ignored and the rest is zero.
    void HexTable(const TEntry& entry, uint8_t* table) {
        std::vector<uint8_t> bytes;
        int high = -1;
        for (char c : entry.Value) {
            if (IsBlank(c)) continue;
            const int digit = HexDigit(c);
            if (digit < 0) Fail(entry.Line, Format("'%s' is not a hex digit", std::string(1, c)));
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0) Fail(entry.Line, "an odd number of hex digits");
        if (bytes.size() > SmartDataSize) Fail(entry.Line, "a table holds at most 512 bytes");
        std::memcpy(table, bytes.data(), bytes.size());
    }

    // A number below 2^48, or six hex bytes low byte first: 28:00:15:00:40:00.
    void Raw(const TEntry& entry, const std::string& text, uint8_t* raw) {
        if (text.find(':') != std::string::npos) {
            if (text.size() != 17)
                Fail(entry.Line,
                     Format("raw bytes \"%s\" must be six hex pairs such as 28:00:15:00:40:00", text));
            for (int i = 0; i < 6; ++i) {
                const int high = HexDigit(text[i * 3]), low = HexDigit(text[i * 3 + 1]);
                if (high < 0 || low < 0 || (i < 5 && text[i * 3 + 2] != ':'))
                    Fail(entry.Line,
                         Format("raw bytes \"%s\" must be six hex pairs such as 28:00:15:00:40:00", text));
                raw[i] = static_cast<uint8_t>(high * 16 + low);
            }
            return;
        }
        const int64_t value = Number(entry, text, 0, MaxRaw, "a raw value");
        for (int i = 0; i < 6; ++i) raw[i] = static_cast<uint8_t>(value >> (8 * i));
    }

    int Position(const TEntry& entry, const std::string& text) {
        return static_cast<int>(Number(entry, text, 0, SmartTableEntries - 1, "a table position"));
    }

    void Attribute(const TEntry& entry, int position, TSimDrive& drive) {
        const auto words = Words(entry.Value);
        if (words.size() != 6)
            Fail(entry.Line,
                 Format("\"%s\" needs six fields: ID FLAGS CURRENT WORST THRESHOLD RAW", entry.Key));
        TSmartAttribute& attribute = drive.Attributes.Entries[position];
        TSmartThreshold& threshold = drive.Thresholds.Entries[position];
        attribute.ID = static_cast<uint8_t>(Number(entry, words[0], 0, 255, "an attribute ID"));
        attribute.Flags = static_cast<uint16_t>(Number(entry, words[1], 0, 0xFFFF, "the flags"));
        attribute.Current = static_cast<uint8_t>(Number(entry, words[2], 0, 255, "the current value"));
        attribute.Worst = static_cast<uint8_t>(Number(entry, words[3], 0, 255, "the worst value"));
        threshold.ID = attribute.ID;
        threshold.Threshold = static_cast<uint8_t>(Number(entry, words[4], 0, 255, "the threshold"));
        Raw(entry, words[5], attribute.Raw);
    }

    void Threshold(const TEntry& entry, int position, TSimDrive& drive) {
        const auto words = Words(entry.Value);
        if (words.size() != 2) Fail(entry.Line, Format("\"%s\" needs two fields: ID THRESHOLD", entry.Key));
        TSmartThreshold& threshold = drive.Thresholds.Entries[position];
        threshold.ID = static_cast<uint8_t>(Number(entry, words[0], 0, 255, "an attribute ID"));
        threshold.Threshold = static_cast<uint8_t>(Number(entry, words[1], 0, 255, "the threshold"));
    }

    void Failure(const TEntry& entry, TSimCommand command, TSimDrive& drive) {
        static constexpr const char* kUsage = "a failure is ERROR [driver=N] [ide=N] [device=N]";
        const auto words = Words(entry.Value);
        if (words.empty()) Fail(entry.Line, kUsage);
        TSimFailure failure;
        failure.Active = true;
        failure.Error = static_cast<uint32_t>(Number(entry, words[0], 0, 0xFFFFFFFFll, "the error code"));
        for (size_t i = 1; i < words.size(); ++i) {
            const size_t equals = words[i].find('=');
            if (equals == std::string::npos) Fail(entry.Line, kUsage);
            const std::string name = NormalKey(words[i].substr(0, equals)),
                              value = words[i].substr(equals + 1);
            if (name == "driver") {
                failure.DriverError = static_cast<uint8_t>(Number(entry, value, 0, 255, "the driver status"));
            } else if (name == "ide") {
                failure.IdeStatus = static_cast<uint8_t>(Number(entry, value, 0, 255, "the IDE status"));
            } else if (name == "device") {
                if (command != TSimCommand::Enable && command != TSimCommand::Identify &&
                    command != TSimCommand::ReadAttributes && command != TSimCommand::ReadThresholds)
                    Fail(entry.Line, "device= applies to enable, identify, attributes and thresholds only");
                failure.Device = static_cast<int>(Number(entry, value, 0, 3, "the device"));
            } else {
                Fail(entry.Line, kUsage);
            }
        }
        drive.Failures[static_cast<size_t>(command)] = failure;
    }

    static std::optional<TSimCommand> CommandNamed(const std::string& name) {
        static constexpr struct {
            const char* Name;
            TSimCommand Command;
        } kCommands[] = {{"open", TSimCommand::Open},
                         {"version", TSimCommand::Version},
                         {"enable", TSimCommand::Enable},
                         {"identify", TSimCommand::Identify},
                         {"attributes", TSimCommand::ReadAttributes},
                         {"thresholds", TSimCommand::ReadThresholds},
                         {"geometry", TSimCommand::Geometry},
                         {"geometry ex", TSimCommand::GeometryEx},
                         {"read", TSimCommand::Read}};
        for (const auto& item : kCommands)
            if (name == item.Name) return item.Command;
        return std::nullopt;
    }

    TSimDrive ReadDrive(const TSection& section) {
        TSimDrive drive;
        static const std::set<std::string> kKeys = {
            "wmi model", "wmi count",       "device map",      "serial",    "firmware",
            "model",     "word 47",         "sectors",         "disk size", "geometry",
            "revision",  "attribute table", "threshold table", "read delay"};
        std::map<std::string, const TEntry*> plain;
        std::vector<const TEntry*> attributes, thresholds, failures;
        for (const TEntry& entry : section.Entries) {
            if (kKeys.count(entry.Key))
                plain[entry.Key] = &entry;
            else if (entry.Key.rfind("attribute ", 0) == 0)
                attributes.push_back(&entry);
            else if (entry.Key.rfind("threshold ", 0) == 0)
                thresholds.push_back(&entry);
            else if (entry.Key.rfind("fail ", 0) == 0)
                failures.push_back(&entry);
            else
                Fail(entry.Line, Format("unknown key \"%s\"", entry.Key));
        }
        auto has = [&](const char* key) -> const TEntry* {
            auto found = plain.find(key);
            return found == plain.end() ? nullptr : found->second;
        };

        if (auto e = has("wmi model")) drive.WmiModel = e->Value;
        drive.WmiCount = drive.WmiModel.empty() ? 0 : 1;
        if (auto e = has("wmi count"))
            drive.WmiCount = static_cast<int>(Number(*e, e->Value, -1, 1000, "\"wmi count\""));
        if (auto e = has("device map"))
            drive.DeviceMap = static_cast<uint8_t>(Number(*e, e->Value, 0, 255, "the device map"));
        if (auto e = has("serial")) drive.SerialNumber = Text(*e, 20);
        if (auto e = has("firmware")) drive.FirmwareRev = Text(*e, 8);
        drive.ModelNumber = drive.WmiModel.substr(0, 40);
        if (auto e = has("model")) drive.ModelNumber = Text(*e, 40);
        drive.Word47 = 0x8010;
        if (auto e = has("word 47"))
            drive.Word47 = static_cast<uint16_t>(Number(*e, e->Value, 0, 0xFFFF, "word 47"));

        const TEntry* sectors = has("sectors");
        const TEntry* diskSize = has("disk size");
        if (sectors)
            drive.TotalSectors =
                static_cast<uint32_t>(Number(*sectors, sectors->Value, 0, 0xFFFFFFFFll, "the sector count"));
        if (diskSize)
            drive.DiskSize = Number(*diskSize, diskSize->Value, 0, int64_t{1} << 60, "the disk size");
        if (!diskSize) drive.DiskSize = int64_t{drive.TotalSectors} * 512;
        // Beyond 28-bit addressing a drive reports the 28-bit maximum here.
        if (!sectors)
            drive.TotalSectors = static_cast<uint32_t>(std::min<int64_t>(drive.DiskSize / 512, 0x0FFFFFFF));
        drive.Geometry = {drive.DiskSize / (255 * 63 * 512), 12, 255, 63, 512};
        if (auto e = has("geometry")) {
            const auto words = Words(e->Value);
            if (words.size() != 4)
                Fail(e->Line,
                     "\"geometry\" needs four fields: CYLINDERS TRACKS-PER-CYLINDER SECTORS-PER-TRACK "
                     "BYTES-PER-SECTOR");
            drive.Geometry.Cylinders = Number(*e, words[0], 0, int64_t{1} << 40, "the cylinders");
            drive.Geometry.TracksPerCylinder =
                static_cast<uint32_t>(Number(*e, words[1], 0, 0xFFFFFFFFll, "the tracks per cylinder"));
            drive.Geometry.SectorsPerTrack =
                static_cast<uint32_t>(Number(*e, words[2], 0, 0xFFFFFFFFll, "the sectors per track"));
            drive.Geometry.BytesPerSector =
                static_cast<uint32_t>(Number(*e, words[3], 0, 0xFFFFFFFFll, "the bytes per sector"));
        }

        if (auto e = has("read delay"))
            drive.ReadDelay = static_cast<int>(Number(*e, e->Value, 0, 60000, "the read delay"));

        drive.Attributes.Revision = drive.Thresholds.Revision = 0x0010;
        if (auto e = has("attribute table")) HexTable(*e, reinterpret_cast<uint8_t*>(&drive.Attributes));
        if (auto e = has("threshold table")) HexTable(*e, reinterpret_cast<uint8_t*>(&drive.Thresholds));
        if (auto e = has("revision"))
            drive.Attributes.Revision = drive.Thresholds.Revision =
                static_cast<uint16_t>(Number(*e, e->Value, 0, 0xFFFF, "the revision"));
        for (const TEntry* e : attributes) Attribute(*e, Position(*e, e->Key.substr(10)), drive);
        for (const TEntry* e : thresholds) Threshold(*e, Position(*e, e->Key.substr(10)), drive);
        for (const TEntry* e : failures) {
            const auto command = CommandNamed(e->Key.substr(5));
            if (!command)
                Fail(e->Line,
                     Format("unknown command in \"%s\": use open, version, enable, identify, attributes, "
                            "thresholds, geometry, geometry ex or read",
                            e->Key));
            Failure(*e, *command, drive);
        }
        return drive;
    }

    std::wstring fileName_;
    std::vector<TSection> sections_;
};

// Closes the file however reading ends.
struct TFileHandle {
    HANDLE Handle;
    ~TFileHandle() {
        if (Handle != INVALID_HANDLE_VALUE) CloseHandle(Handle);
    }
};

}  // namespace

TDriveSet ParseDriveSet(std::string_view text, const std::string& fileName) {
    return TParser(ToWide(fileName)).Parse(text);
}

TDriveSet LoadDriveSet(const std::string& fileName) {
    return LoadDriveSet(ToWide(fileName));
}

TDriveSet LoadDriveSet(const std::wstring& wideFileName) {
    auto fail = [&](DWORD error) -> EDriveSetError {
        return EDriveSetError(L"Cannot read drive-set file \"" + wideFileName + L"\": " +
                              ToWide(SysErrorMessage(error)));
    };
    TFileHandle file{CreateFileW(wideFileName.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.Handle == INVALID_HANDLE_VALUE) throw fail(GetLastError());
    std::string text;
    char buffer[16384];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.Handle, buffer, sizeof buffer, &count, nullptr)) throw fail(GetLastError());
        if (count == 0) break;
        text.append(buffer, count);
        if (text.size() > (16u << 20))
            throw EDriveSetError(L"Drive-set file \"" + wideFileName + L"\" is too large");
    }
    return TParser(wideFileName).Parse(text);
}
