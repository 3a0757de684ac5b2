#include "mail/mime_names.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/registry.h"
#include "mail/mime_random.h"

namespace {

TEST(MimeNames, SanitizeFileNameReplacesRefusedCharacters) {
    struct {
        std::string Name, Clean;
    } const cases[] = {
        {"report.txt", "report.txt"},
        {"  a:b\\c/d*e?f\"g<h>i|j'k.txt  ", "a_b_c_d_e_f_g_h_i_j_k.txt"},
        {std::string("a\x01\tb\x1F.bin"), "a__b_.bin"},
        {"r\xE9sum\xE9.pdf", "r\xE9sum\xE9.pdf"},
        {std::string(300, 'n'), std::string(254, 'n')},
    };
    for (const auto& c : cases) EXPECT_EQ(SanitizeFileName(c.Name), c.Clean) << c.Name;
}

TEST(MimeNames, IsIPAddressWantsDecimalFields) {
    struct {
        const char* Host;
        bool Numeric;
    } const cases[] = {
        {"192.168.1.1", true}, {"10.0.0.1", true}, {"123", true},          {"999.1", true},
        {"1..2", false},       {"", false},        {"mailserver", false},  {"10.0.0.", false},
        {"1.2.3.x", false},    {"-1", false},      {"99999999999", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsIPAddress(c.Host), c.Numeric) << c.Host;
}

TEST(MimeNames, ExtensionFromTheRegistry) {
    const std::string key = "\\MIME\\Database\\Content Type\\application/x-vexmora-test";
    TOwned<TRegistry> registry = MakeOwned<TRegistry>();
    registry->SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(registry->OpenKey(key, true));
    registry->WriteString("Extension", ".vxt");
    registry->CloseKey();
    EXPECT_EQ(MimeTypeToExtension("application/x-vexmora-test"), ".vxt");
    EXPECT_EQ(MimeTypeToExtension("application/x-vexmora-missing"), "");
    registry->DeleteKey(key);
    EXPECT_EQ(MimeTypeToExtension("application/x-vexmora-test"), "");
}

std::string Everything(const std::string&) {
    return ".all";
}

TEST(MimeNames, LookupIsReplaceableAndHasABuiltInTable) {
    EXPECT_EQ(BuiltInMimeExtension("image/gif"), ".gif");
    EXPECT_EQ(BuiltInMimeExtension("TEXT/PLAIN"), ".txt");
    EXPECT_EQ(BuiltInMimeExtension("application/x-unknown"), "");
    const TMimeExtensionLookup saved = SetMimeExtensionLookup(&Everything);
    EXPECT_EQ(MimeTypeToExtension("x/y"), ".all");
    SetMimeExtensionLookup(saved);
}

TEST(MimeRandom, SeededGeneratorAndBoundaryShape) {
    SetMimeRandomSeed(12345);
    EXPECT_EQ(NewBoundary(), "boundary62A6551D");
    EXPECT_EQ(MimeRandom(), 0x4A132196u);
    SetMimeRandomSeed(0);
    EXPECT_EQ(NewBoundary(), "boundary00000000");
}

}  // namespace
