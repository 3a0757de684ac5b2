// Accelerator marks, rotated fonts and the Windows version table.
#include <gtest/gtest.h>

#include "classlib/osversion.h"
#include "controls/sctext.h"

namespace {

TEST(RemoveAccelerators, DropsSingleMarksAndHalvesDoubledOnes) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"", ""},        {"&File", "File"},  {"&&File", "&File"}, {"Save &As", "Save As"},
        {"R&&D", "R&D"}, {"Tail&", "Tail&"},  // the last character always stays
        {"&", "&"},      {"&&", "&"},        {"&&&x", "&x"},      {"plain", "plain"},
    };
    for (const auto& row : rows) EXPECT_EQ(RemoveAccelerators(row.in), row.out) << row.in;
}

TEST(RotatedFont, CarriesTheAngleAndTheStyle) {
    auto font = MakeOwned<TFont>();
    font->SetName("Tahoma");
    font->SetHeight(-13);
    font->SetStyle({fsBold, fsItalic});
    const TFontHandle rotated = CreateRotatedFont(font.get(), 90);
    ASSERT_TRUE(rotated);
    LOGFONTA made{};
    ASSERT_TRUE(GetObjectA(rotated.Get(), sizeof made, &made));
    EXPECT_EQ(made.lfEscapement, 900);
    EXPECT_EQ(made.lfHeight, -13);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_FALSE(made.lfUnderline);
    EXPECT_STREQ(made.lfFaceName, "Tahoma");
    EXPECT_TRUE(IsTrueTypeFont(font.get()));
}

class FixedVersion : public TOSVersionService {
public:
    TOSVersionInfo info;
    TOSVersionInfo Version() override { return info; }
};

TEST(IsWindowsVersion, NamesOneSystemEach) {
    const DWORD nt = VER_PLATFORM_WIN32_NT, nine = VER_PLATFORM_WIN32_WINDOWS;
    const struct {
        DWORD platform, major, minor;
        int version;
    } systems[] = {{nine, 4, 0, 0}, {nt, 4, 0, 1}, {nine, 4, 10, 2}, {nine, 4, 90, 3},
                   {nt, 5, 0, 4},   {nt, 5, 1, 5}, {nt, 5, 2, 6},    {nt, 6, 0, 7}};
    FixedVersion fixed;
    TServiceOverride<TOSVersionService> scope(fixed);
    for (const auto& system : systems) {
        fixed.info.Platform = system.platform;
        fixed.info.Major = system.major;
        fixed.info.Minor = system.minor;
        for (int v = 0; v <= 8; ++v)
            EXPECT_EQ(IsWindowsVersion(v), v == system.version) << system.version << " " << v;
    }
    fixed.info = {nt, 10, 0, 0, ""};
    for (int v = 0; v <= 8; ++v) EXPECT_FALSE(IsWindowsVersion(v));
}

}  // namespace
