// The filer and published properties: objects written as named values and
// read back (sub-objects, nested collections, defined and binary values),
// obsolete and unknown properties, values of the wrong kind, damaged
// streams, and properties reached by name.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "classlib/core/collection.h"
#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"

namespace {

enum TNodeKind { nkPlain, nkFolder, nkLink };
enum TNodeFlag { nfHidden, nfLocked, nfShared };
using TNodeFlags = TSet<TNodeFlag>;

class TNode : public TCollectionItem {
    VX_CLASS(TNode, TCollectionItem)
public:
    explicit TNode(TCollection* Collection)
        : TCollectionItem(Collection), children_(Create<TOwnedCollection>(this, TNode::ClassInfo())) {}

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value) { caption_ = Value; }
    int Value() const { return value_; }
    void SetValue(int Value) { value_ = Value; }
    std::int64_t Big() const { return big_; }
    void SetBig(std::int64_t Value) { big_ = Value; }
    TNodeKind Kind() const { return kind_; }
    void SetKind(TNodeKind Value) { kind_ = Value; }
    TNodeFlags Flags() const { return flags_; }
    void SetFlags(TNodeFlags Value) { flags_ = Value; }
    double Weight() const { return weight_; }
    void SetWeight(double Value) { weight_ = Value; }
    const std::wstring& Wide() const { return wide_; }
    void SetWide(const std::wstring& Value) { wide_ = Value; }
    bool Active() const { return active_; }
    void SetActive(bool Value) { active_ = Value; }
    TCollection* Children() const { return children_.get(); }

private:
    std::string caption_;
    int value_ = 0;
    std::int64_t big_ = 0;
    TNodeKind kind_ = nkPlain;
    TNodeFlags flags_;
    double weight_ = 0;
    std::wstring wide_;
    bool active_ = true;
    TOwned<TOwnedCollection> children_;
};

class TBox : public TPersistent {
    VX_CLASS(TBox, TPersistent)
public:
    int Width() const { return width_; }
    void SetWidth(int Value) { width_ = Value; }
    int Height() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }

private:
    int width_ = 0;
    int height_ = 0;
};

// A document: published values, a sub-object, a collection of nodes, values
// of its own making, and old properties it reads and drops.
class TDocument : public TPersistent {
    VX_CLASS(TDocument, TPersistent)
public:
    TDocument() : box_(Create<TBox>()), nodes_(Create<TOwnedCollection>(this, TNode::ClassInfo())) {}

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& Value) { title_ = Value; }
    TBox* Box() const { return box_.get(); }
    TCollection* Nodes() const { return nodes_.get(); }

    std::string Secret;
    std::string Blob;
    int obsoleteRead = 0;

protected:
    void DefineProperties(TFiler* Filer) override {
        inherited::DefineProperties(Filer);
        Filer->DefineProperty("Secret", TReaderProc(this, &TDocument::ReadSecret),
                              TWriterProc(this, &TDocument::WriteSecret), !Secret.empty());
        Filer->DefineBinaryProperty("Blob", TStreamProc(this, &TDocument::ReadBlob),
                                    TStreamProc(this, &TDocument::WriteBlob), !Blob.empty());
        // Older documents: read and dropped, never written.
        Filer->DefineProperty("ColorAdjustment", TReaderProc(this, &TDocument::DropInteger), nullptr, false);
        Filer->DefineProperty("TitleW", TReaderProc(this, &TDocument::DropString), nullptr, false);
    }

private:
    void ReadSecret(TReader* Reader) { Secret = Reader->ReadString(); }
    void WriteSecret(TWriter* Writer) { Writer->WriteString(Secret); }
    void ReadBlob(TStream* Stream) {
        Blob.assign(static_cast<size_t>(Stream->Size()), '\0');
        Stream->ReadBuffer(Blob.data(), static_cast<int>(Blob.size()));
    }
    void WriteBlob(TStream* Stream) { Stream->WriteBuffer(Blob.data(), static_cast<int>(Blob.size())); }
    void DropInteger(TReader* Reader) {
        Reader->ReadInteger();
        ++obsoleteRead;
    }
    void DropString(TReader* Reader) {
        Reader->ReadString();
        ++obsoleteRead;
    }

    std::string title_;
    TOwned<TBox> box_;
    TOwned<TOwnedCollection> nodes_;
};

[[maybe_unused]] const bool published = [] {
    TPublish<TNode>()
        .Property("Caption", &TNode::Caption, &TNode::SetCaption)
        .Property("Value", &TNode::Value, &TNode::SetValue)
        .Default(0)
        .Property("Big", &TNode::Big, &TNode::SetBig)
        .Default(0)
        .Property("Kind", &TNode::Kind, &TNode::SetKind, {"nkPlain", "nkFolder", "nkLink"})
        .Default(nkPlain)
        .Property("Flags", &TNode::Flags, &TNode::SetFlags, {"nfHidden", "nfLocked", "nfShared"})
        .Default(0)
        .Property("Weight", &TNode::Weight, &TNode::SetWeight)
        .Property("Wide", &TNode::Wide, &TNode::SetWide)
        .Property("Active", &TNode::Active, &TNode::SetActive)
        .Default(1)
        .Property("Children", &TNode::Children);
    TPublish<TBox>()
        .Property("Width", &TBox::Width, &TBox::SetWidth)
        .Default(0)
        .Property("Height", &TBox::Height, &TBox::SetHeight)
        .Default(0);
    TPublish<TDocument>()
        .Property("Title", &TDocument::Title, &TDocument::SetTitle)
        .Property("Box", &TDocument::Box)
        .Property("Nodes", &TDocument::Nodes);
    return true;
}();

TNode* AddNode(TCollection* Nodes, const std::string& Caption) {
    auto* node = static_cast<TNode*>(Nodes->Add());
    node->SetCaption(Caption);
    return node;
}

// Everything a node tree holds, as one text to compare.
std::string Dump(TCollection* Nodes) {
    std::string text = "(";
    for (int i = 0; i < Nodes->Count(); ++i) {
        auto* node = static_cast<TNode*>(Nodes->Items(i));
        text += Format("%s %d %s %d %d %g %s %d ", node->Caption(), node->Value(), IntToStr(node->Big()),
                       static_cast<int>(node->Kind()), static_cast<int>(node->Flags().Bits()), node->Weight(),
                       ToAnsi(node->Wide()), node->Active() ? 1 : 0);
        text += Dump(node->Children());
    }
    return text + ")";
}

TOwned<TMemoryStream> Written(TPersistent* Instance) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    WriteObjectProperties(stream.get(), Instance);
    stream->SetPosition(0);
    return stream;
}

// A stream made by hand, as an older program version would have written it.
template <class Fill>
TOwned<TMemoryStream> Handmade(Fill fill) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    TOwned<TWriter> writer(Create<TWriter>(stream.get()));
    fill(writer.get());
    writer->WriteListEnd();
    stream->SetPosition(0);
    return stream;
}

std::string ReadError(TMemoryStream* Stream, TPersistent* Instance) {
    try {
        ReadObjectProperties(Stream, Instance);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(Filer, RoundTripsNestedCollections) {
    TOwned<TDocument> source(Create<TDocument>());
    source->SetTitle("Drives");
    source->Box()->SetWidth(421);
    source->Box()->SetHeight(-373);
    TNode* disk = AddNode(source->Nodes(), "Disk 0");
    disk->SetValue(100000);
    disk->SetBig(std::int64_t{1} << 40);
    disk->SetKind(nkFolder);
    disk->SetFlags({nfHidden, nfShared});
    disk->SetWeight(2.5);
    disk->SetWide(L"\u00c4\u00df");
    TNode* attributes = AddNode(disk->Children(), "Attributes");
    attributes->SetActive(false);
    AddNode(attributes->Children(), "194")->SetValue(-45);
    AddNode(attributes->Children(), "5")->SetKind(nkLink);
    AddNode(source->Nodes(), "Disk 1");
    source->Secret = "hidden";
    source->Blob = std::string("\0\x01\xFF binary", 10);

    TOwned<TMemoryStream> stream = Written(source.get());
    TOwned<TDocument> copy(Create<TDocument>());
    AddNode(copy->Nodes(), "stale");
    ReadObjectProperties(stream.get(), copy.get());

    EXPECT_EQ(copy->Title(), "Drives");
    EXPECT_EQ(copy->Box()->Width(), 421);
    EXPECT_EQ(copy->Box()->Height(), -373);
    EXPECT_EQ(Dump(copy->Nodes()), Dump(source->Nodes()));
    EXPECT_EQ(copy->Secret, "hidden");
    EXPECT_EQ(copy->Blob, source->Blob);
    EXPECT_EQ(stream->Position(), stream->Size());
}

TEST(Filer, ValuesAtTheirDefaultsAreNotWritten) {
    TOwned<TDocument> document(Create<TDocument>());
    // Only the (empty) collection and the end marker.
    TOwned<TMemoryStream> stream = Written(document.get());
    TOwned<TReader> reader(Create<TReader>(stream.get()));
    EXPECT_EQ(reader->ReadStr(), "Nodes");
    EXPECT_EQ(reader->ReadValue(), vaCollection);
    EXPECT_TRUE(reader->EndOfList());
    reader->ReadListEnd();
    reader->ReadListEnd();
    EXPECT_EQ(stream->Position(), stream->Size());
}

TEST(Filer, SubObjectNamesCarryTheWritersPathButItemNamesDoNot) {
    TOwned<TDocument> document(Create<TDocument>());
    document->Box()->SetWidth(7);
    AddNode(document->Nodes(), "n")->SetValue(3);
    TOwned<TMemoryStream> stream = Written(document.get());
    TOwned<TReader> reader(Create<TReader>(stream.get()));
    EXPECT_EQ(reader->ReadStr(), "Box.Width");
    EXPECT_EQ(reader->ReadInteger(), 7);
    EXPECT_EQ(reader->ReadStr(), "Nodes");
    EXPECT_EQ(reader->ReadValue(), vaCollection);
    reader->ReadListBegin();
    EXPECT_EQ(reader->ReadStr(), "Caption");
    EXPECT_EQ(reader->ReadString(), "n");
    EXPECT_EQ(reader->ReadStr(), "Value");
}

TEST(Filer, ObsoletePropertiesAreReadAndDropped) {
    auto stream = Handmade([](TWriter* w) {
        w->WritePropName("ColorAdjustment");
        w->WriteInteger(12);
        w->WritePropName("TitleW");
        w->WriteString("wide title as UTF-8");
        w->WritePropName("Title");
        w->WriteString("kept");
    });
    TOwned<TDocument> document(Create<TDocument>());
    ReadObjectProperties(stream.get(), document.get());
    EXPECT_EQ(document->obsoleteRead, 2);
    EXPECT_EQ(document->Title(), "kept");
}

TEST(Filer, UnknownPropertyRaisesUnlessTheErrorHandlerDropsIt) {
    auto fill = [](TWriter* w) {
        w->WritePropName("Bogus");
        w->WriteListBegin();
        w->WriteInteger(1);
        w->WriteString("nested");
        w->WriteListEnd();
        w->WritePropName("Title");
        w->WriteString("after");
    };
    TOwned<TDocument> document(Create<TDocument>());
    EXPECT_EQ(ReadError(Handmade(fill).get(), document.get()), "Property Bogus does not exist");

    std::vector<std::string> reported;
    struct Dropper {
        std::vector<std::string>* reported;
        void Drop(TReader*, const std::string& Message, bool& Handled) {
            reported->push_back(Message);
            Handled = true;
        }
    } dropper{&reported};
    ReadObjectProperties(Handmade(fill).get(), document.get(), TReaderError(&dropper, &Dropper::Drop));
    EXPECT_EQ(reported, std::vector<std::string>{"Property Bogus does not exist"});
    EXPECT_EQ(document->Title(), "after");
}

TEST(Filer, ValueOfTheWrongKindIsAnInvalidPropertyValue) {
    struct Case {
        const char* Name;
        void (*Write)(TWriter*);
    } const cases[] = {
        {"unknown identifier", [](TWriter* w) { w->WriteIdent("nkNoSuchKind"); }},
        {"text for an enumeration", [](TWriter* w) { w->WriteString("nkFolder"); }},
        {"unknown set member",
         [](TWriter* w) {
             w->WriteValue(vaSet);
             w->WriteStr("nfHidden");
             w->WriteStr("nfGone");
             w->WriteStr("");
         }},
    };
    const char* properties[] = {"Kind", "Kind", "Flags"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        auto stream = Handmade([&](TWriter* w) {
            w->WritePropName("Nodes");
            w->WriteValue(vaCollection);
            w->WriteListBegin();
            w->WritePropName(properties[i]);
            cases[i].Write(w);
            w->WriteListEnd();
            w->WriteListEnd();
        });
        TOwned<TDocument> document(Create<TDocument>());
        EXPECT_EQ(ReadError(stream.get(), document.get()), "Invalid property value") << cases[i].Name;
    }
}

TEST(Filer, DamagedStreamsEndInReadErrors) {
    TOwned<TDocument> source(Create<TDocument>());
    source->SetTitle("t");
    source->Box()->SetWidth(1000);
    TNode* node = AddNode(source->Nodes(), "n");
    node->SetWide(L"w");
    node->SetFlags({nfLocked});
    AddNode(node->Children(), "child")->SetWeight(0.5);
    source->Blob = "blob";
    TOwned<TMemoryStream> whole = Written(source.get());
    const std::string bytes(static_cast<const char*>(whole->Memory()), static_cast<size_t>(whole->Size()));

    auto readBack = [](const std::string& data) {
        TOwned<TMemoryStream> stream(Create<TMemoryStream>());
        stream->WriteBuffer(data.data(), static_cast<int>(data.size()));
        stream->SetPosition(0);
        TOwned<TDocument> document(Create<TDocument>());
        try {
            ReadObjectProperties(stream.get(), document.get());
        } catch (const EReadError&) {
        } catch (const EComponentError&) {
        }
    };
    for (size_t length = 0; length < bytes.size(); ++length) {
        TOwned<TMemoryStream> stream(Create<TMemoryStream>());
        stream->WriteBuffer(bytes.data(), static_cast<int>(length));
        stream->SetPosition(0);
        TOwned<TDocument> document(Create<TDocument>());
        EXPECT_THROW(ReadObjectProperties(stream.get(), document.get()), EReadError) << "cut at " << length;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = bytes;
        for (int flips = 0; flips < 3; ++flips)
            damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
        readBack(damaged);
    }
}

TEST(PublishedProperties, AreReachedByName) {
    TOwned<TOwnedCollection> nodes(Create<TOwnedCollection>(nullptr, TNode::ClassInfo()));
    TNode* node = AddNode(nodes.get(), "first");

    EXPECT_TRUE(IsPublishedProp(node, "caption"));
    EXPECT_FALSE(IsPublishedProp(node, "Color"));
    EXPECT_EQ(GetStrProp(node, "Caption"), "first");
    SetOrdProp(node, "Value", 42);
    EXPECT_EQ(node->Value(), 42);
    SetEnumProp(node, "Kind", "nkLink");
    EXPECT_EQ(node->Kind(), nkLink);
    EXPECT_EQ(GetEnumProp(node, "Kind"), "nkLink");
    SetSetProp(node, "Flags", "[nfHidden, nfShared]");
    EXPECT_TRUE(node->Flags() == (TNodeFlags{nfHidden, nfShared}));
    EXPECT_EQ(GetSetProp(node, "Flags"), "[nfHidden,nfShared]");
    SetStrProp(node, "Wide", "text");
    EXPECT_EQ(node->Wide(), L"text");
    EXPECT_EQ(GetObjectProp(node, "Children"), node->Children());

    try {
        SetOrdProp(node, "Missing", 1);
        ADD_FAILURE() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Property Missing does not exist");
    }
    EXPECT_THROW(SetEnumProp(node, "Kind", "nkNone"), EPropertyError);
    EXPECT_THROW(SetPropValue(node, "Children", TPropValue{}), EPropertyError);
}

TEST(PublishedProperties, ListAncestorsFirstAndComponentsPublishTheirName) {
    const auto list = GetPropList(TNode::ClassInfo());
    ASSERT_EQ(list.size(), 9u);
    EXPECT_EQ(list.front()->Name, "Caption");
    EXPECT_EQ(list.back()->Name, "Children");

    TOwned<TComponent> component(Create<TComponent>(nullptr));
    SetStrProp(component.get(), "Name", "Named");
    EXPECT_EQ(component->Name(), "Named");
}

}  // namespace
