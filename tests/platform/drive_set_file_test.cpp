#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "platform/drive_set_file.h"
#include "tests/platform/scoped_drives.h"

namespace {

std::string ProblemOf(const std::string& text) {
    try {
        ParseDriveSet(text, "drives.ini");
    } catch (const EDriveSetError& e) {
        return e.Message();
    }
    return "no problem";
}

}  // namespace

TEST(DriveSetFile, ReadsEveryKeyOfADrive) {
    const TDriveSet set = ParseDriveSet(R"(
; comment
[System]
OS Family = 9x
[drive 5]
wmi model = WDC WD10EADS-00L5B1
wmi count = 2
device map = 0x13        ; devices 0 and 1, device 0 ATAPI
serial = "  WD-WCAV51234567 "
model = WDC WD10EADS
sectors = 268435455
disk size = 1000204886016
geometry = 121601 255 63 512
attribute table = 1100 05 3300 64 64 000000000000 00
attribute 2 = 194 0x0022 40 55 0 28:00:15:00:40:00
threshold 0 = 77 36
attribute 3 = 9 0x32 89 88 7 0xFFFFFFFFFFFF
fail identify = 31 driver=12 ide=0x51 device=1
[drive 6]
disk size = 500107862016
)",
                                        "drives.ini");
    EXPECT_EQ(set.OsFamily, TOsFamily::Win9x);
    const TSimDrive& d = *set.Drive(5);
    EXPECT_EQ(d.WmiModel + "|" + d.SerialNumber + "|" + d.ModelNumber,
              "WDC WD10EADS-00L5B1|  WD-WCAV51234567 |WDC WD10EADS");
    EXPECT_EQ(d.WmiCount, 2);
    EXPECT_EQ(d.DeviceMap, 0x13);
    EXPECT_EQ(d.TotalSectors, 268435455u);
    EXPECT_EQ(d.DiskSize, 1000204886016);
    EXPECT_EQ(d.Geometry.Cylinders, 121601);
    EXPECT_EQ(d.Attributes.Revision, 0x0011);
    EXPECT_EQ(d.Attributes.Entries[0].Flags, 0x0033);
    EXPECT_EQ(d.Thresholds.Entries[0].ID, 77);
    EXPECT_EQ(d.Attributes.Entries[1].ID, 0);
    EXPECT_EQ(d.Attributes.Entries[2].Raw[4], 0x40);
    EXPECT_EQ(d.Thresholds.Entries[2].ID, 194);
    EXPECT_EQ(d.Attributes.Entries[3].Raw[5], 0xFF);
    EXPECT_EQ(d.Thresholds.Entries[3].Threshold, 7);
    ASSERT_NE(d.FailureFor(TSimCommand::Identify, 1), nullptr);
    EXPECT_EQ(d.FailureFor(TSimCommand::Identify, 1)->IdeStatus, 0x51);
    EXPECT_EQ(d.FailureFor(TSimCommand::Identify, 0), nullptr);
    // Missing keys follow from the others.
    const TSimDrive& other = *set.Drive(6);
    EXPECT_EQ(other.WmiCount, 0);
    EXPECT_EQ(other.TotalSectors, 0x0FFFFFFFu);  // past 28-bit addressing
    EXPECT_EQ(other.Geometry.Cylinders, 60801);
    EXPECT_EQ(other.Geometry.SectorsPerTrack, 63u);
    EXPECT_EQ(other.Attributes.Revision, 0x0010);
    EXPECT_EQ(set.Drive(7), nullptr);
}

TEST(DriveSetFile, ProblemsNameTheFileTheLineAndWhatIsWrong) {
    const struct {
        const char* Text;
        const char* Problem;
    } cases[] = {
        {"wmi model = X", "line 1: a key before the first [section]"},
        {"[drive 0]\nwmi model", "line 2: expected \"key = value\" or a [section]"},
        {"[drive 24]", "line 1: the drive number in [drive 24] must be 0 to 23"},
        {"[drives 1]", "line 1: unknown section [drives 1]"},
        {"[drive 1]\n[drive 1]", "line 2: section [drive 1] appears twice (first on line 1)"},
        {"[drive 1]\nserial = A\nSerial = B", "line 3: \"serial\" is given twice (first on line 2)"},
        {"[drive 1]\ntemprature = 40", "line 2: unknown key \"temprature\""},
        {"[system]\nos family = vista", "line 2: \"os family\" must be nt, 9x or other"},
        {"[drive 1]\n\n\nattribute 3 = 194 0x22 40 55 0", "line 4: \"attribute 3\" needs six fields"},
        {"[drive 1]\nattribute 30 = 1 0 1 1 1 1", "line 2: a table position must be 0 to 29"},
        {"[drive 1]\nattribute 0 = 1 0 1 1 1 28:00:15",
         "line 2: raw bytes \"28:00:15\" must be six hex pairs"},
        {"[drive 1]\nattribute 0 = 1 0 1 1 1 0x1000000000000",
         "line 2: a raw value must be 0 to 281474976710655"},
        {"[drive 1]\nwmi count = many", "line 2: \"many\" is not a number"},
        // Beyond 64 bits: refused as too large, never read with the high digits lost.
        {"[drive 1]\n\nword 47 = 0x10000000000000005", "line 3: \"0x10000000000000005\" is too large"},
        {"[drive 1]\nword 47 = 0xFFFFFFFFFFFFFFFF", "line 2: \"0xFFFFFFFFFFFFFFFF\" is too large"},
        {"[drive 1]\nwmi count = 99999999999999999999", "line 2: \"99999999999999999999\" is too large"},
        // Below what 64 bits hold: out of range, not "too large".
        {"[drive 1]\ndisk size = -9223372036854775808",
         "line 2: \"-9223372036854775808\" is out of range (the disk size must be 0 to"},
        {"[drive 1]\nwmi count = -0x10000000000000000", "line 2: \"-0x10000000000000000\" is out of range"},
        {"[drive 1]\nread delay = 60001", "line 2: the read delay must be 0 to 60000"},
        {"[drive 1]\nserial = 123456789012345678901", "line 2: \"serial\" is longer than 20 characters"},
        {"[drive 1]\nattribute table = 10 0", "line 2: an odd number of hex digits"},
        {"[drive 1]\nfail idenitfy = 5", "line 2: unknown command in \"fail idenitfy\""},
        {"[drive 1]\nfail version = 5 device=0", "line 2: device= applies to enable, identify"},
        {"[drive 1]\nfail enable = 5 status=1", "line 2: a failure is ERROR [driver=N] [ide=N] [device=N]"},
    };
    for (const auto& c : cases) {
        const std::string problem = ProblemOf(c.Text);
        EXPECT_EQ(problem.rfind("Drive-set file \"drives.ini\", ", 0), 0u) << problem;
        EXPECT_NE(problem.find(c.Problem), std::string::npos) << c.Text << "\n -> " << problem;
    }
    const std::string table(1026, '0');
    EXPECT_NE(ProblemOf("[drive 1]\nthreshold table = " + table).find("a table holds at most 512 bytes"),
              std::string::npos);
}

TEST(DriveSetFile, EveryKindOfLineEndEndsALine) {
    const char* const lines[] = {"[drive 3]", "wmi model = M", "serial = S", ""};
    for (const char* end : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (const char* line : lines) text += std::string(line) + end;
        const TDriveSet set = ParseDriveSet(text, "drives.ini");
        ASSERT_NE(set.Drive(3), nullptr) << testing::PrintToString(text);
        EXPECT_EQ(set.Drive(3)->WmiModel + "|" + set.Drive(3)->SerialNumber, "M|S");
        EXPECT_NE(ProblemOf(text + "bogus").find("line 5: expected"), std::string::npos);
    }
    // Mixed, as an editor that keeps each line's own end leaves them.
    EXPECT_NE(ProblemOf("[drive 3]\r\nwmi model = M\rserial = S\n\r\nbogus").find("line 5: expected"),
              std::string::npos);
}

// The same file as UTF-16, little- or big-endian, with or without its
// byte-order mark, as Windows editors save "Unicode" text.
TEST(DriveSetFile, Utf16FilesReadAsTheirUtf8Text) {
    const std::wstring text = L"[drive 2]\r\nwmi model = M\r\nserial = \u0416-7\r\n";
    auto utf16 = [&](bool bigEndian, bool mark) {
        std::string bytes;
        for (wchar_t c : (mark ? L"\uFEFF" : L"") + text) {
            const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    for (bool bigEndian : {false, true})
        for (bool mark : {true, false}) {
            SCOPED_TRACE(testing::Message() << "big-endian " << bigEndian << ", mark " << mark);
            const TDriveSet set = ParseDriveSet(utf16(bigEndian, mark), "drives.ini");
            ASSERT_NE(set.Drive(2), nullptr);
            EXPECT_EQ(set.Drive(2)->WmiModel, "M");
            EXPECT_EQ(set.Drive(2)->SerialNumber, "\xD0\x96-7");
        }
    EXPECT_NE(ProblemOf(utf16(false, true) + std::string("b\0", 2)).find("line 4: expected"),
              std::string::npos);
}

TEST(DriveSetFile, UnreadableFileIsNamed) {
    try {
        LoadDriveSet("C:\\no such folder\\drives.ini");
        FAIL() << "no error";
    } catch (const EDriveSetError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot read drive-set file \"C:\\no such folder\\drives.ini\": ", 0), 0u)
            << e.Message();
    }
}

// Opened by its wide name, and named by it in every error.
TEST(DriveSetFile, AFileInAFolderOutsideTheCodePageOpensAndIsNamedByItsWideName) {
    const std::wstring folder = ToWide(GetTempDir()) + L"\u0434\u0438\u0441\u043a\u0438 \u65e5\u672c-" +
                                std::to_wstring(GetCurrentProcessId());
    const std::wstring file = folder + L"\\drives.ini", broken = folder + L"\\broken.ini";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::ofstream(std::filesystem::path(file)) << "[drive 1]\nwmi model = M\n";
    std::ofstream(std::filesystem::path(broken)) << "[drive 1]\nnonsense\n";
    const TDriveSet set = LoadDriveSet(file);
    ASSERT_NE(set.Drive(1), nullptr);
    EXPECT_EQ(set.Drive(1)->WmiModel, "M");
    const struct {
        std::wstring Name, Start;
    } cases[] = {
        {folder + L"\\absent.ini", L"Cannot read drive-set file \"" + folder + L"\\absent.ini\": "},
        {broken, L"Drive-set file \"" + broken + L"\", line 2: "},
    };
    for (const auto& c : cases) {
        try {
            LoadDriveSet(c.Name);
            ADD_FAILURE() << "no error";
        } catch (const EDriveSetError& e) {
            EXPECT_EQ(e.WideMessage().rfind(c.Start, 0), 0u) << e.Message();
        }
    }
    std::filesystem::remove_all(std::filesystem::path(folder));
}

TEST(DriveSetFile, RandomAndTruncatedFilesEndInASetOrAClearError) {
    std::string example;
    {
        const TDriveSet set = LoadDriveSet(ExampleDrivesPath());
        ASSERT_EQ(set.Drives.size(), 4u);
    }
    {
        FILE* file = std::fopen(ExampleDrivesPath().c_str(), "rb");
        ASSERT_NE(file, nullptr);
        char buffer[4096];
        size_t count;
        while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) example.append(buffer, count);
        std::fclose(file);
    }
    std::mt19937 random(7);
    const char alphabet[] = "[]=;:# \n\r\"0123456789abcdefxX-drive attribute fail";
    int sets = 0, errors = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string text = example.substr(0, random() % (example.size() + 1));
        const int changes = round % 4 == 0 ? 0 : 1 + random() % 8;
        for (int i = 0; i < changes && !text.empty(); ++i) {
            const size_t at = random() % text.size();
            if (random() % 3 == 0)
                text.erase(at, 1 + random() % 5);
            else
                text[at] = random() % 4 == 0 ? static_cast<char>(random())
                                             : alphabet[random() % (sizeof alphabet - 1)];
        }
        try {
            ParseDriveSet(text, "random.ini");
            ++sets;
        } catch (const EDriveSetError& e) {
            ASSERT_NE(e.Message().find("random.ini"), std::string::npos);
            ++errors;
        }
    }
    EXPECT_GT(sets, 0);
    EXPECT_GT(errors, 0);
}
