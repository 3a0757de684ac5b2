#include "foundation/zkdatastreaming.h"

#include <mutex>

#include "classlib/core/text.h"
#include "foundation/zkdataconsumer.h"
#include "foundation/zkdatacontexts.h"
#include "foundation/zkdataerrors.h"
#include "foundation/zkdataitems.h"
#include "foundation/zkdatarender.h"

namespace {

class TPathScope {
public:
    explicit TPathScope(TWriter* writer) : writer_(writer), saved_(writer->PropPath()) {
        writer_->SetPropPath("");
    }
    ~TPathScope() { writer_->SetPropPath(saved_); }
    TPathScope(const TPathScope&) = delete;
    TPathScope& operator=(const TPathScope&) = delete;

private:
    TWriter* writer_;
    std::string saved_;
};

const char* const ClassNameProperty = "ClassName";

// The "Extensions" reader and writer of one object.
class TExtensionsFiler {
public:
    explicit TExtensionsFiler(TExtensibleInterfacedPersistent* object) : object_(object) {}

    std::vector<TPersistent*> Streamable() const {
        std::vector<TPersistent*> streamable;
        for (int i = 0; i < object_->ExtensionCount(); ++i)
            if (object_->IsStreamableExtension(object_->Extension(i)))
                streamable.push_back(object_->Extension(i));
        return streamable;
    }
    void Write(TWriter* writer) { WriteClassCollection(writer, Streamable()); }
    void Read(TReader* reader) {
        TZkStreamHold hold(object_);
        ReadClassCollection(reader, [this](TClass cls) -> TPersistent* {
            const TZkExtensionFactory factory = ::InheritsFrom(cls, TAggregatedPersistentEx::ClassInfo())
                                                    ? ExtensionFactories().Find(cls)
                                                    : nullptr;
            if (!factory) return nullptr;
            if (TAggregatedPersistentEx* existing = object_->FindExtension(cls)) return existing;
            return factory(object_);
        });
    }

private:
    TExtensibleInterfacedPersistent* object_;
};

}  // namespace

void WriteClassCollection(TWriter* Writer, const std::vector<TPersistent*>& Objects) {
    TPathScope path(Writer);
    Writer->WriteValue(vaCollection);
    for (TPersistent* object : Objects) {
        Writer->WriteListBegin();
        Writer->WriteStr(ClassNameProperty);
        Writer->WriteString(object->ClassName());
        Writer->WriteProperties(object);
        Writer->WriteListEnd();
    }
    Writer->WriteListEnd();
}

void ReadClassCollection(TReader* Reader, const std::function<TPersistent*(TClass)>& Make) {
    if (Reader->NextValue() != vaCollection) throw EReadError(ZkErrorExpectedCollection);
    Reader->ReadValue();
    while (!Reader->EndOfList()) {
        Reader->ReadListBegin();
        if (Reader->EndOfList() || Reader->ReadStr() != ClassNameProperty)
            throw EReadError(ZkErrorMissingClassName);
        const std::string name = Reader->ReadString();
        const TClass cls = GetClass(name);
        if (!cls) throw EReadError(ZkErrorInvalidClassType);
        TPersistent* object = nullptr;
        try {
            object = Make(cls);
        } catch (const EZKCLException& e) {
            // A class that refuses its host is a fault of the stream.
            throw EReadError(e.Message());
        }
        if (!object) throw EReadError(ZkErrorInvalidClassType);
        while (!Reader->EndOfList()) Reader->ReadProperty(object);
        Reader->ReadListEnd();
    }
    Reader->ReadListEnd();
}

void DefineExtensionsProperty(TFiler* Filer, TExtensibleInterfacedPersistent* Object) {
    // The filer calls the procedures before DefineProperty returns.
    TExtensionsFiler filer(Object);
    Filer->DefineProperty("Extensions", TReaderProc(&filer, &TExtensionsFiler::Read),
                          TWriterProc(&filer, &TExtensionsFiler::Write), !filer.Streamable().empty());
}

void ZkDataProviderRegisterClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterZkDataClass<TZkDataItemsList>();
        RegisterZkDataClass<TZkCustomDataItemsImages>();
        RegisterZkDataClass<TZkCustomDataItemsTextRenderer>();
        RegisterZkDataClass<TZkBaseDataItemsListManagement>();
        RegisterZkDataClass<TZkBaseDataItem>();
        RegisterZkDataClass<TZkDataItemTextImpl>();
        RegisterZkDataClass<TZkDataItemImageImpl>();
        RegisterZkDataClass<TZkDataConsumer>();
        RegisterZkDataClass<TZkDataConsumerItemSelect>();
        RegisterZkDataClass<TZkDataContexts>();
        RegisterZkDataClass<TZkDataContext>();
        RegisterZkDataClass<TZkManagedDataContext>();
        RegisterZkDataClass<TZkFixedDataContext>();
        PublishZkDataProperties();
    });
}
