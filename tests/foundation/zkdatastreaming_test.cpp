// Streaming items, sub-items and extensions: a round trip, what is left
// out, the read errors of damaged streams, and thousands of random and cut
// streams that must end in a read error, never in a crash.
#include <gtest/gtest.h>

#include <random>

#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "foundation/zkdataconsumer.h"
#include "foundation/zkdataerrors.h"
#include "tests/foundation/zkdata_test_provider.h"

namespace {

using Streaming = CountedTest;

// Each item as text, image index and weight, children in brackets.
std::string Dump(IZkDataItems* Items) {
    std::string text;
    for (int i = 0; i < Items->Count(); ++i) {
        TZkIntf<IZkDataItem> item = Items->Item(i);
        text += item->ID() + ":" + ItemText(item.get());
        if (TZkIntf<IZkDataItemImage> image = ZkSupports<IZkDataItemImage>(item))
            text += " image " + std::to_string(image->ImageIndex());
        if (auto* counted = dynamic_cast<TCountedExtension*>(
                dynamic_cast<TZkBaseDataItem*>(item.get())->FindExtension(TCountedExtension::ClassInfo())))
            text += " weight " + std::to_string(counted->Weight());
        if (TZkIntf<IZkDataItemSubItems> sub = ZkSupports<IZkDataItemSubItems>(item))
            text += " [" + Dump(sub->SubItems().get()) + "]";
        text += "; ";
    }
    return text;
}

std::string Bytes(TPersistent* Instance) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    WriteObjectProperties(stream.get(), Instance);
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->Size()));
}

void ReadBytes(const std::string& Bytes, TPersistent* Instance) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    stream->WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
    stream->SetPosition(0);
    ReadObjectProperties(stream.get(), Instance);
}

// A tree with every streamed kind: text, images, an extension of the tests
// and sub-items two levels deep.
TZkIntf<TZkDataItemsList> SampleTree() {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    Create<TZkCustomDataItemsTextRenderer>(list.get());
    TZkBaseDataItem* disk = list->CreateItem(TCountedItem::ClassInfo());
    Create<TZkDataItemTextImpl>(disk)->SetText("Disk 0");
    Create<TZkDataItemImageImpl>(disk)->SetImageIndex(7);
    Create<TCountedExtension>(disk)->SetWeight(-300);
    TZkBaseDataItem* part = disk->EnsureSubItems()->CreateItem(TCountedItem::ClassInfo());
    Create<TZkDataItemTextImpl>(part)->SetText("Partition \"C\"");
    part->EnsureSubItems()->CreateItem(TZkBaseDataItem::ClassInfo())->SetID("leaf");
    list->CreateItem(TZkBaseDataItem::ClassInfo());
    return list;
}

TEST_F(Streaming, ItemsSubItemsAndExtensionsRoundTrip) {
    TZkIntf<TZkDataItemsList> source = SampleTree();
    const std::string bytes = Bytes(source.get());
    TZkIntf<TZkDataItemsList> copy(Create<TZkDataItemsList>());
    ReadBytes(bytes, copy.get());
    EXPECT_EQ(Dump(copy.get()), Dump(source.get()));
    EXPECT_TRUE(ZkSupports<IZkDataItemsRenderer>(copy));
    EXPECT_EQ(Bytes(copy.get()), bytes);
}

TEST_F(Streaming, OnlyStreamableExtensionsAreWritten) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    // Sub-items stream as "SubItems", never as an extension.
    list->CreateItem(TZkBaseDataItem::ClassInfo())->EnsureSubItems();
    const std::string bytes = Bytes(list.get());
    EXPECT_EQ(bytes.find("Extensions"), std::string::npos);
    EXPECT_NE(bytes.find("SubItems"), std::string::npos);
    EXPECT_NE(bytes.find("ClassName"), std::string::npos);
}

TEST_F(Streaming, AConsumerKeepsItsContextAndItemThroughAStream) {
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr, true));
    provider->AddContext("First");
    TZkManagedDataContext* second = provider->AddContext("Second");
    TZkBaseDataItem* item = second->Items()->CreateItem(TZkBaseDataItem::ClassInfo());
    TOwned<TComponent> owner(Create<TComponent>(nullptr));
    TZkIntf<TZkDataConsumer> source(Create<TZkDataConsumer>(owner.get()));
    source->SetProvider(provider.get());
    source->SetContext("Second");
    source->ItemSelect()->SetItem(item->ID());

    TZkIntf<TZkDataConsumer> copy(Create<TZkDataConsumer>(owner.get()));
    owner->Loading();
    ReadBytes(Bytes(source.get()), copy.get());
    copy->SetProvider(provider.get());
    owner->Loaded();
    EXPECT_EQ(copy->Context(), "Second");
    EXPECT_EQ(copy->SelectedItem().get(), static_cast<IZkDataItem*>(item));
}

// Handmade values as an older or damaged writer may have left them.
std::string PropertyValue(const char* Name, const std::function<void(TWriter*)>& Fill) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    TOwned<TWriter> writer(Create<TWriter>(stream.get()));
    writer->WriteStr(Name);
    Fill(writer.get());
    writer->WriteListEnd();
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->Size()));
}

std::string ReadError(const std::string& Bytes) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    try {
        ReadBytes(Bytes, list.get());
    } catch (const EReadError& e) {
        return e.Message();
    }
    return "no error";
}

TEST_F(Streaming, DamagedCollectionsRaiseTheirReadErrors) {
    struct Row {
        const char* why;
        std::function<void(TWriter*)> fill;
        const char* error;
        const char* property = "Items";
    };
    const Row rows[] = {
        {"a list where a collection belongs", [](TWriter* W) { W->WriteString("x"); }, "Expected collection"},
        {"extensions as a plain value", [](TWriter* W) { W->WriteInteger(1); }, "Expected collection",
         "Extensions"},
        {"an extension opening with another property",
         [](TWriter* W) {
             W->WriteValue(vaCollection), W->WriteListBegin(), W->WriteStr("Text"), W->WriteString("x");
             W->WriteListEnd(), W->WriteListEnd();
         },
         "Missing ClassName property", "Extensions"},
        {"an item class as an extension",
         [](TWriter* W) {
             W->WriteValue(vaCollection), W->WriteListBegin(), W->WriteStr("ClassName");
             W->WriteString("TZkBaseDataItem"), W->WriteListEnd(), W->WriteListEnd();
         },
         "Invalid class type", "Extensions"},
        {"an item opening with another property",
         [](TWriter* W) {
             W->WriteValue(vaCollection), W->WriteListBegin(), W->WriteStr("ID"), W->WriteString("x");
             W->WriteListEnd(), W->WriteListEnd();
         },
         "Missing ClassName property"},
        {"an empty item",
         [](TWriter* W) {
             W->WriteValue(vaCollection), W->WriteListBegin(), W->WriteListEnd(), W->WriteListEnd();
         },
         "Missing ClassName property"},
        {"a registered class that is no item",
         [](TWriter* W) {
             W->WriteValue(vaCollection), W->WriteListBegin(), W->WriteStr("ClassName");
             W->WriteString("TZkDataItemTextImpl"), W->WriteListEnd(), W->WriteListEnd();
         },
         "Invalid class type"},
        {"a class nobody registered",
         [](TWriter* W) {
             W->WriteValue(vaCollection), W->WriteListBegin(), W->WriteStr("ClassName");
             W->WriteString("TNoSuchItem"), W->WriteListEnd(), W->WriteListEnd();
         },
         "Invalid class type"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ReadError(PropertyValue(row.property, row.fill)), row.error) << row.why;
}

TEST_F(Streaming, RandomAndCutStreamsEndInAReadError) {
    TZkIntf<TZkDataItemsList> source = SampleTree();
    const std::string good = Bytes(source.get());
    std::mt19937 random(20261207);
    int readErrors = 0;
    const int rounds = 3000;
    for (int round = 0; round < rounds; ++round) {
        std::string bytes = good;
        switch (round % 3) {
            case 0:  // cut short
                bytes.resize(random() % good.size());
                break;
            case 1:  // a few bytes changed
                for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n)
                    bytes[random() % bytes.size()] = static_cast<char>(random());
                break;
            default:  // noise
                bytes.resize(random() % 64);
                for (char& c : bytes) c = static_cast<char>(random() % 20);
                break;
        }
        TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
        try {
            ReadBytes(bytes, list.get());
        } catch (const EReadError&) {
            ++readErrors;
        } catch (const Exception& e) {
            ADD_FAILURE() << "round " << round << ": " << e.Message();
        }
    }
    // Most inputs are damaged beyond reading; a changed byte in a text may still read.
    EXPECT_GT(readErrors, rounds / 2);
}

}  // namespace
