// Contexts: lookup by path, unique names and the owner a context needs.
#include <gtest/gtest.h>

#include "foundation/zkdataerrors.h"
#include "tests/foundation/zkdata_test_provider.h"

namespace {

// Root: Disks (Internal (Sata), External), Logs.
class ContextTree : public ::testing::Test {
protected:
    void SetUp() override {
        disks = provider->AddContext("Disks");
        internal = provider->AddContext("Internal", disks->ContextList());
        sata = provider->AddContext("Sata", internal->ContextList());
        external = provider->AddContext("External", disks->ContextList());
        logs = provider->AddContext("Logs");
    }
    // The name of the context Path finds from List, "-" for none.
    static std::string Found(IZkDataContexts* List, const std::string& Path) {
        TZkIntf<IZkDataContext> context = List->FindContext(Path);
        return context ? context->Name() : "-";
    }

    TOwned<TTestProvider> provider{Create<TTestProvider>(nullptr, true)};
    TZkManagedDataContext* disks = nullptr;
    TZkManagedDataContext* internal = nullptr;
    TZkManagedDataContext* sata = nullptr;
    TZkManagedDataContext* external = nullptr;
    TZkManagedDataContext* logs = nullptr;
};

TEST_F(ContextTree, PathsFindContexts) {
    struct Row {
        const char* path;
        const char* fromRoot;
        const char* fromInternal;  // looked up in Internal's own contexts
    };
    const Row rows[] = {
        {"Disks", "Disks", "-"},
        {"disks\\INTERNAL", "Internal", "-"},   // names without case
        {"Disks/Internal\\Sata", "Sata", "-"},  // either separator, mixed
        {"Sata", "-", "Sata"},
        {"\\Logs", "Logs", "Logs"},  // a leading separator starts at the root
        {"/Disks/External", "External", "External"},
        {"..", "-", "Disks"},  // up from Internal's own list: the list holding Internal
        {"..\\External", "-", "External"},
        {"../../Logs", "-", "Logs"},
        {"Disks\\Internal\\..", "Disks", "-"},
        {"Disks\\", "Disks", "-"},  // a trailing separator ends on Disks' own list
        {"Disks//Internal", "Internal", "-"},
        {"Nothing", "-", "-"},
        {"", "-", "Internal"},
        {"\\", "-", "-"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Found(provider->contexts.get(), row.path), row.fromRoot) << row.path;
        EXPECT_EQ(Found(internal->ContextList(), row.path), row.fromInternal) << row.path;
    }
}

TEST_F(ContextTree, NamesAreUniqueWithinOneListWithoutCase) {
    try {
        provider->AddContext("LOGS");
        FAIL() << "no error";
    } catch (const EZKCLDataContexts& e) {
        EXPECT_EQ(e.Message(), "A context with that name already exists");
    }
    EXPECT_THROW(logs->SetName("disks"), EZKCLDataContexts);
    EXPECT_EQ(logs->Name(), "Logs");
    // The same name in another list, and the own name in other letters, are fine.
    EXPECT_NO_THROW(provider->AddContext("Logs", disks->ContextList()));
    logs->SetName("LOGS");
    EXPECT_EQ(logs->Name(), "LOGS");
    EXPECT_EQ(provider->contexts->Count(), 2);
}

TEST_F(ContextTree, AContextNeedsAListOwner) {
    try {
        MakeOwned<TZkDataContext>(nullptr, "Lost");
        FAIL() << "no error";
    } catch (const EZKCLDataContexts& e) {
        EXPECT_EQ(e.Message(), "Cannot create a context without a context list owner");
    }
}

TEST_F(ContextTree, EveryContextKnowsItsProviderUntilTakenOut) {
    EXPECT_EQ(sata->Provider(), static_cast<IZkDataProvider*>(provider.get()));
    TZkIntf<IZkDataContext> kept(sata);
    provider->contexts->Delete(0);  // Disks, with Sata below it
    EXPECT_EQ(kept->Provider(), nullptr);
    EXPECT_EQ(kept->Name(), "Sata");
    EXPECT_EQ(Found(provider->contexts.get(), "Disks"), "-");
}

}  // namespace
