#include "skins/wsfiler.h"

#include "classlib/core/filer.h"
#include "classlib/core/properties.h"
#include "skins/wsplatform.h"
#include "skins/wsutf7.h"

namespace {

// Reads the next value whatever its kind; text values come back, others as "".
std::string ReadAnyValue(TReader* reader) {
    switch (reader->NextValue()) {
        case vaString:
        case vaWString:
        case vaUTF8String:
        case vaIdent:
            return reader->ReadString();
        default:
            reader->SkipValue();
            return {};
    }
}

void DropValue(TReader* reader) {
    ReadAnyValue(reader);
}

void DropUtf7Value(TReader* reader) {
    try {
        UTF7ToWideString(ReadAnyValue(reader));
    } catch (const EWsGeneralError&) {
        // A damaged copy of a value the property already holds.
    }
}

}  // namespace

void DefineWideProperties(TFiler* Filer, TPersistent* Instance) {
    for (const TPropInfo* info : GetPropList(Instance->ClassType())) {
        if (info->Kind != tkWString && info->Kind != tkWChar) continue;
        Filer->DefineProperty(info->Name + "W", TReaderProc(&DropValue), nullptr, false);
        Filer->DefineProperty(info->Name + "_UTF7", TReaderProc(&DropUtf7Value), nullptr, false);
    }
}
