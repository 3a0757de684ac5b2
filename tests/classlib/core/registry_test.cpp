// TRegistry against a private root: round trips, values of other types,
// opening keys, recursive deletion, enumeration, and the redirect itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/registry.h"
#include "classlib/core/registryredirect.h"
#include "classlib/core/strings.h"

namespace {

class Registry : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(reg->OpenKey("\\Software\\Vexmora Test", true)); }

    // Stores raw bytes of any type, bypassing TRegistry's typed writes.
    void PutRaw(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExA(reg->CurrentKey(), name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }

    std::vector<std::string> Sorted(TStrings* strings) {
        std::vector<std::string> names;
        for (int i = 0; i < strings->Count(); ++i) names.push_back(strings->Strings(i));
        std::sort(names.begin(), names.end());
        return names;
    }

    TRegistryRedirect privateRoot;
    TOwned<TRegistry> reg{Create<TRegistry>()};
    TOwned<TStringList> list{Create<TStringList>()};
};

std::string RegistryError(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return "no exception";
}

}  // namespace

TEST_F(Registry, TypedValuesRoundTrip) {
    for (int value : {0, 1, -1, 65535, static_cast<int>(0x80000000u), 0x7FFFFFFF}) {
        reg->WriteInteger("RTimer", value);
        EXPECT_EQ(reg->ReadInteger("RTimer"), value);
    }
    EXPECT_EQ(reg->GetDataType("RTimer"), rdInteger);
    EXPECT_EQ(reg->GetDataSize("RTimer"), 4);

    for (std::string text : {std::string(), std::string("smtp.example.com"),
                             std::string("with spaces and ;=, signs"), std::string(5000, 'x')}) {
        reg->WriteString("SMTPServer", text);
        EXPECT_EQ(reg->ReadString("SMTPServer"), text);
    }
    EXPECT_EQ(reg->GetDataType("SMTPServer"), rdString);

    reg->WriteBool("usepassword", true);
    EXPECT_EQ(reg->ReadInteger("usepassword"), 1);
    EXPECT_TRUE(reg->ReadBool("usepassword"));
    reg->WriteBool("usepassword", false);
    EXPECT_EQ(reg->ReadInteger("usepassword"), 0);
    EXPECT_FALSE(reg->ReadBool("usepassword"));
    reg->WriteInteger("usepassword", 7);
    EXPECT_TRUE(reg->ReadBool("usepassword"));

    const unsigned char bytes[] = {0, 1, 2, 0xFF, 0x80, 0};
    reg->WriteBinaryData("Blob", bytes, sizeof bytes);
    unsigned char back[16] = {};
    EXPECT_EQ(reg->ReadBinaryData("Blob", back, sizeof back), 6);
    EXPECT_EQ(std::memcmp(back, bytes, sizeof bytes), 0);
    EXPECT_EQ(reg->GetDataType("Blob"), rdBinary);
}

TEST_F(Registry, MissingValuesReadAsDocumented) {
    EXPECT_FALSE(reg->ValueExists("Absent"));
    EXPECT_EQ(reg->GetDataType("Absent"), rdUnknown);
    EXPECT_EQ(reg->GetDataSize("Absent"), -1);
    EXPECT_EQ(reg->ReadString("Absent"), "");
    char buffer[4];
    EXPECT_EQ(reg->ReadBinaryData("Absent", buffer, sizeof buffer), 0);
    EXPECT_EQ(RegistryError([&] { reg->ReadInteger("Absent"); }), "Failed to get data for 'Absent'");
    EXPECT_EQ(RegistryError([&] { reg->ReadBool("Absent"); }), "Failed to get data for 'Absent'");
}

TEST_F(Registry, ValuesOfAnotherTypeRaiseInvalidDataTypeAndNeverOverrun) {
    const DWORD eightByteDword[2] = {1, 2};
    const char unterminated[] = {'a', 'b', 'c'};
    const char multi[] = "one\0two\0";
    PutRaw("Text", REG_SZ, "12", 3);
    PutRaw("Number", REG_DWORD, eightByteDword, 4);
    PutRaw("LongDword", REG_DWORD, eightByteDword, 8);
    PutRaw("Multi", REG_MULTI_SZ, multi, sizeof multi);
    PutRaw("Quad", REG_QWORD, eightByteDword, 8);
    PutRaw("Blob", REG_BINARY, "\x01\x02\x03\x04\x05", 5);
    PutRaw("Unterminated", REG_SZ, unterminated, sizeof unterminated);
    PutRaw("Expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);

    struct Case {
        const char* name;
        const char* read;
        const char* message;  // null: the read succeeds
    };
    const Case cases[] = {
        {"Text", "integer", "Invalid data type for 'Text'"},
        {"Text", "binary", "Invalid data type for 'Text'"},
        {"Number", "string", "Invalid data type for 'Number'"},
        {"Number", "binary", "Invalid data type for 'Number'"},
        {"Multi", "string", "Invalid data type for 'Multi'"},
        {"Multi", "integer", "Invalid data type for 'Multi'"},
        {"Quad", "integer", "Invalid data type for 'Quad'"},
        {"Quad", "string", "Invalid data type for 'Quad'"},
        {"Blob", "integer", "Invalid data type for 'Blob'"},
        {"Blob", "string", "Invalid data type for 'Blob'"},
        {"Blob", "bool", "Invalid data type for 'Blob'"},
        {"LongDword", "integer", "Failed to get data for 'LongDword'"},
        {"Unterminated", "string", nullptr},
        {"Expand", "string", nullptr},
        {"Quad", "binary", nullptr},
        {"Text", "bool", "Invalid data type for 'Text'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " as " + c.read);
        std::string message = RegistryError([&] {
            char buffer[16];
            std::string read = c.read;
            if (read == "integer") reg->ReadInteger(c.name);
            if (read == "bool") reg->ReadBool(c.name);
            if (read == "string") reg->ReadString(c.name);
            if (read == "binary") reg->ReadBinaryData(c.name, buffer, sizeof buffer);
        });
        EXPECT_EQ(message, c.message ? c.message : "no exception");
    }
    EXPECT_EQ(reg->ReadString("Unterminated"), "abc");
    EXPECT_EQ(reg->ReadString("Expand"), "%TEMP%\\x");
    EXPECT_EQ(reg->GetDataType("Expand"), rdExpandString);
    EXPECT_EQ(reg->GetDataType("Multi"), rdUnknown);
    char small[4];
    EXPECT_EQ(RegistryError([&] { reg->ReadBinaryData("Blob", small, sizeof small); }),
              "Invalid data type for 'Blob'");
}

TEST_F(Registry, WritesWithoutAnOpenKeyOrRightsRaise) {
    TOwned<TRegistry> closed(Create<TRegistry>());
    EXPECT_EQ(RegistryError([&] { closed->WriteInteger("X", 1); }), "Failed to set data for 'X'");
    EXPECT_FALSE(closed->ValueExists("X"));

    reg->WriteInteger("X", 1);
    TOwned<TRegistry> reader(Create<TRegistry>());
    ASSERT_TRUE(reader->OpenKeyReadOnly("\\Software\\Vexmora Test"));
    EXPECT_EQ(reader->ReadInteger("X"), 1);
    EXPECT_EQ(RegistryError([&] { reader->WriteInteger("X", 2); }), "Failed to set data for 'X'");
    EXPECT_FALSE(reader->OpenKeyReadOnly("\\Software\\Vexmora Test\\Absent"));
}

TEST_F(Registry, OpenKeyCreatesOnlyWhenAskedAndKeepsTheCurrentKeyOnFailure) {
    EXPECT_EQ(reg->CurrentPath(), "Software\\Vexmora Test");
    HKEY before = reg->CurrentKey();
    EXPECT_FALSE(reg->OpenKey("Drive", false));
    EXPECT_EQ(reg->CurrentKey(), before);
    EXPECT_EQ(reg->CurrentPath(), "Software\\Vexmora Test");
    EXPECT_FALSE(reg->KeyExists("Drive"));

    // Relative to the current key.
    ASSERT_TRUE(reg->OpenKey("Drive", true));
    EXPECT_EQ(reg->CurrentPath(), "Software\\Vexmora Test\\Drive");
    reg->WriteString("Temperature Celcius", "Show message");
    // A leading "\" starts again from the root, whatever key is open.
    EXPECT_TRUE(reg->KeyExists("\\Software\\Vexmora Test\\Drive"));
    EXPECT_FALSE(reg->KeyExists("Software\\Vexmora Test\\Drive"));
    ASSERT_TRUE(reg->OpenKey("\\Software\\Vexmora Test\\Drive", false));
    EXPECT_EQ(reg->ReadString("Temperature Celcius"), "Show message");
    EXPECT_EQ(reg->CurrentPath(), "Software\\Vexmora Test\\Drive");

    reg->CloseKey();
    EXPECT_EQ(reg->CurrentKey(), nullptr);
    EXPECT_EQ(reg->CurrentPath(), "");
    // Without an open key, relative paths start at the root.
    ASSERT_TRUE(reg->OpenKey("Software\\Vexmora Test", false));
    EXPECT_TRUE(reg->KeyExists("Drive"));
}

TEST_F(Registry, CreateKeyMakesTheWholePathWithoutOpeningIt) {
    EXPECT_TRUE(reg->CreateKey("A\\B\\C"));
    EXPECT_EQ(reg->CurrentPath(), "Software\\Vexmora Test");
    EXPECT_TRUE(reg->KeyExists("A\\B\\C"));
    EXPECT_TRUE(reg->HasSubKeys());
}

TEST_F(Registry, DeleteKeyRemovesTheWholeTree) {
    ASSERT_TRUE(reg->OpenKey("Tree\\Left\\Deep", true));
    reg->WriteInteger("v", 1);
    ASSERT_TRUE(reg->OpenKey("\\Software\\Vexmora Test\\Tree\\Right", true));
    reg->WriteString("w", "x");
    ASSERT_TRUE(reg->OpenKey("\\Software\\Vexmora Test\\Keep", true));
    ASSERT_TRUE(reg->OpenKey("\\Software\\Vexmora Test", false));

    EXPECT_TRUE(reg->DeleteKey("Tree"));
    EXPECT_FALSE(reg->KeyExists("Tree"));
    EXPECT_TRUE(reg->KeyExists("Keep"));
    EXPECT_FALSE(reg->DeleteKey("Tree"));
    // An empty name would mean the base key itself.
    EXPECT_FALSE(reg->DeleteKey(""));
    EXPECT_FALSE(reg->DeleteKey("\\"));
    EXPECT_TRUE(reg->KeyExists("\\Software\\Vexmora Test\\Keep"));
    EXPECT_TRUE(reg->DeleteKey("\\Software\\Vexmora Test\\Keep"));
    EXPECT_FALSE(reg->KeyExists("Keep"));
}

TEST_F(Registry, GetKeyNamesAndGetValueNamesReplaceTheList) {
    list->Add("stale");
    reg->GetKeyNames(list.get());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(reg->HasSubKeys());
    for (const char* key : {"WDC WD10EZEX", "ST3500418AS", "Samsung SSD 860"}) reg->CreateKey(key);
    reg->WriteInteger("RTimer", 60000);
    reg->WriteString("ToMail", "a@b");
    reg->WriteInteger(std::string(300, 'n'), 1);

    reg->GetKeyNames(list.get());
    EXPECT_EQ(Sorted(list.get()),
              (std::vector<std::string>{"ST3500418AS", "Samsung SSD 860", "WDC WD10EZEX"}));
    reg->GetValueNames(list.get());
    EXPECT_EQ(Sorted(list.get()), (std::vector<std::string>{"RTimer", "ToMail", std::string(300, 'n')}));
    EXPECT_TRUE(reg->DeleteValue("ToMail"));
    EXPECT_FALSE(reg->DeleteValue("ToMail"));
    reg->GetValueNames(list.get());
    EXPECT_EQ(list->Count(), 2);

    TRegKeyInfo info;
    ASSERT_TRUE(reg->GetKeyInfo(info));
    EXPECT_EQ(info.NumSubKeys, 3);
    EXPECT_EQ(info.NumValues, 2);
}

TEST(RegistryRedirect, KeepsEveryWriteAwayFromTheRealCurrentUserKey) {
    const char probe[] = "Software\\VexmoraRedirectProbe";
    ASSERT_NE(RegDeleteKeyA(HKEY_CURRENT_USER, probe), ERROR_SUCCESS) << "left over from an earlier run";
    std::string keyPath;
    {
        TRegistryRedirect privateRoot;
        keyPath = privateRoot.KeyPath();
        EXPECT_EQ(keyPath.rfind("Software\\VexmoraTests\\", 0), 0u);
        TOwned<TRegistry> reg(Create<TRegistry>());
        // The private root starts empty: the user's own keys are not seen.
        EXPECT_FALSE(reg->KeyExists("\\Software"));
        ASSERT_TRUE(reg->OpenKey(std::string("\\") + probe, true));
        reg->WriteInteger("Seen", 1);
        // Plain Win32 calls are redirected too.
        HKEY raw;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, probe, 0, KEY_READ, &raw), ERROR_SUCCESS);
        RegCloseKey(raw);
        {
            TRegistryRedirect inner;
            EXPECT_FALSE(TOwned<TRegistry>(Create<TRegistry>())->KeyExists(std::string("\\") + probe));
            EXPECT_EQ(inner.KeyPath().rfind(keyPath + "\\Software\\VexmoraTests\\", 0), 0u);
        }
        EXPECT_TRUE(TOwned<TRegistry>(Create<TRegistry>())->KeyExists(std::string("\\") + probe));
    }
    TOwned<TRegistry> real(Create<TRegistry>());
    EXPECT_FALSE(real->KeyExists(std::string("\\") + probe));
    EXPECT_FALSE(real->KeyExists("\\" + keyPath));
    EXPECT_TRUE(real->KeyExists("\\Software"));
}
