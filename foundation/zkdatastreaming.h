// Streaming of the data provider framework through the class library's
// filer: objects written as a collection, each item opening with its
// "ClassName", the "Extensions" property of every extensible object, and the
// registration by name of the classes a reader builds.
#pragma once

#include <functional>
#include <vector>

#include "classlib/core/filer.h"
#include "foundation/zkdataitems.h"
#include "foundation/zkinterfaces.h"

// Holds an object's count up while it reads itself, without ending it after.
class TZkStreamHold {
public:
    explicit TZkStreamHold(TExtensibleInterfacedPersistent* Object) : object_(Object) {
        object_->count_.Hold();
    }
    ~TZkStreamHold() { object_->count_.Unhold(); }
    TZkStreamHold(const TZkStreamHold&) = delete;
    TZkStreamHold& operator=(const TZkStreamHold&) = delete;

private:
    TExtensibleInterfacedPersistent* object_;
};

// A collection of objects, each opening with "ClassName"; the property path
// is empty inside it.
void WriteClassCollection(TWriter* Writer, const std::vector<TPersistent*>& Objects);
// Reads such a collection: Make builds (or finds) the object for a
// registered class, or answers null for a class it refuses. Raises
// EReadError "Expected collection", "Missing ClassName property", "Invalid
// class type", "Class %s not found".
void ReadClassCollection(TReader* Reader, const std::function<TPersistent*(TClass)>& Make);

// The "Extensions" property of Object, written only when at least one of
// its extensions is streamable.
void DefineExtensionsProperty(TFiler* Filer, TExtensibleInterfacedPersistent* Object);

// Registers T by name, with a builder when the reader makes T inside a
// host (extensions) or a list (items).
template <class T>
void RegisterZkDataClass() {
    RegisterClass(T::ClassInfo());
    if constexpr (std::is_base_of_v<TAggregatedPersistentEx, T>)
        ExtensionFactories().Add(T::ClassInfo(), [](TExtensibleInterfacedPersistent* Controller) {
            return static_cast<TAggregatedPersistentEx*>(Create<T>(Controller));
        });
    else if constexpr (std::is_base_of_v<TZkBaseDataItem, T>)
        ItemFactories().Add(T::ClassInfo(), [](TZkBaseDataItems* Owner) {
            return static_cast<TZkBaseDataItem*>(Create<T>(Owner));
        });
}

// Registers the framework's classes by name once; every framework object
// calls it when built, and the start-up code may call it earlier.
void ZkDataProviderRegisterClasses();
// The published properties of the framework's classes (run by the above).
void PublishZkDataProperties();
