#include "classlib/core/filer.h"

#include <cstring>
#include <limits>

#include "classlib/core/collection.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"

namespace {

// DefineProperties is protected in TPersistent; the filer is the one
// outside caller the class library gives it.
struct DefinePropertiesAccess : TPersistent {
    static void Call(TPersistent* instance, TFiler* filer) {
        (instance->*(&DefinePropertiesAccess::DefineProperties))(filer);
    }
};

// Restores the collection's update count however reading ends.
class CollectionUpdate {
public:
    explicit CollectionUpdate(TCollection* collection) : collection_(collection) {
        collection_->BeginUpdate();
    }
    ~CollectionUpdate() { collection_->EndUpdate(); }
    CollectionUpdate(const CollectionUpdate&) = delete;
    CollectionUpdate& operator=(const CollectionUpdate&) = delete;

private:
    TCollection* collection_;
};

class PropPathScope {
public:
    PropPathScope(TWriter* writer, const std::string& path) : writer_(writer), saved_(writer->PropPath()) {
        writer_->SetPropPath(path);
    }
    ~PropPathScope() { writer_->SetPropPath(saved_); }
    PropPathScope(const PropPathScope&) = delete;
    PropPathScope& operator=(const PropPathScope&) = delete;

private:
    TWriter* writer_;
    std::string saved_;
};

}  // namespace

void TFiler::CallDefineProperties(TPersistent* Instance) {
    DefinePropertiesAccess::Call(Instance, this);
}

// ---- TReader ----------------------------------------------------------------

void TReader::ReadExactly(void* Buffer, int Count) {
    if (Count > 0 && Stream()->Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

[[noreturn]] void TReader::InvalidValue() {
    throw EReadError("Invalid property value");
}

TValueType TReader::ReadValue() {
    std::uint8_t tag = 0;
    ReadExactly(&tag, 1);
    if (tag > vaCollection) InvalidValue();
    return static_cast<TValueType>(tag);
}

TValueType TReader::NextValue() {
    const TValueType value = ReadValue();
    Stream()->Seek(-1, soFromCurrent);
    return value;
}

void TReader::ReadListBegin() {
    if (ReadValue() != vaList) InvalidValue();
}

void TReader::ReadListEnd() {
    if (ReadValue() != vaNull) InvalidValue();
}

std::uint32_t TReader::ReadLength() {
    std::uint32_t length = 0;
    ReadExactly(&length, 4);
    // A length beyond the data left is a damaged stream, not a reason to
    // reserve gigabytes.
    if (length > Stream()->Size() - Stream()->Position()) throw EReadError("Stream read error");
    return length;
}

std::string TReader::ReadBytes(std::uint32_t Count) {
    std::string bytes(Count, '\0');
    ReadExactly(bytes.data(), static_cast<int>(Count));
    return bytes;
}

bool TReader::ReadBoolean() {
    switch (ReadValue()) {
        case vaTrue:
            return true;
        case vaFalse:
            return false;
        default:
            InvalidValue();
    }
}

std::int64_t TReader::ReadInt64() {
    switch (ReadValue()) {
        case vaInt8: {
            std::int8_t value;
            ReadExactly(&value, 1);
            return value;
        }
        case vaInt16: {
            std::int16_t value;
            ReadExactly(&value, 2);
            return value;
        }
        case vaInt32: {
            std::int32_t value;
            ReadExactly(&value, 4);
            return value;
        }
        case vaInt64: {
            std::int64_t value;
            ReadExactly(&value, 8);
            return value;
        }
        default:
            InvalidValue();
    }
}

int TReader::ReadInteger() {
    const std::int64_t value = ReadInt64();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) InvalidValue();
    return static_cast<int>(value);
}

double TReader::ReadFloat() {
    if (NextValue() != vaExtended) return static_cast<double>(ReadInt64());
    ReadValue();
    double value;
    ReadExactly(&value, 8);
    return value;
}

std::string TReader::ReadString() {
    switch (ReadValue()) {
        case vaString:
            return ReadBytes(ReadLength());
        case vaUTF8String:
            return ToAnsi(Utf8ToWide(ReadBytes(ReadLength())));
        case vaWString: {
            Stream()->Seek(-1, soFromCurrent);
            return ToAnsi(ReadWideString());
        }
        default:
            InvalidValue();
    }
}

std::wstring TReader::ReadWideString() {
    switch (ReadValue()) {
        case vaWString: {
            const std::uint32_t bytes = ReadLength();
            if (bytes % 2) InvalidValue();
            std::wstring text(bytes / 2, L'\0');
            ReadExactly(text.data(), static_cast<int>(bytes));
            return text;
        }
        case vaUTF8String:
            return Utf8ToWide(ReadBytes(ReadLength()));
        case vaString:
            return ToWide(ReadBytes(ReadLength()));
        default:
            InvalidValue();
    }
}

std::string TReader::ReadStr() {
    std::uint8_t length = 0;
    ReadExactly(&length, 1);
    return ReadBytes(length);
}

std::string TReader::ReadIdent() {
    switch (ReadValue()) {
        case vaIdent:
            return ReadStr();
        case vaFalse:
            return "False";
        case vaTrue:
            return "True";
        case vaNil:
            return "nil";
        case vaNull:
            return "Null";
        default:
            InvalidValue();
    }
}

char TReader::ReadChar() {
    const std::string text = ReadString();
    if (text.size() != 1) InvalidValue();
    return text[0];
}

wchar_t TReader::ReadWideChar() {
    const std::wstring text = ReadWideString();
    if (text.size() > 1) InvalidValue();
    return text.empty() ? L'\0' : text[0];
}

void TReader::SkipValue() {
    switch (ReadValue()) {
        case vaNull:
        case vaFalse:
        case vaTrue:
        case vaNil:
            return;
        case vaList:
            while (!EndOfList()) SkipValue();
            ReadListEnd();
            return;
        case vaInt8:
            Stream()->Seek(1, soFromCurrent);
            return;
        case vaInt16:
            Stream()->Seek(2, soFromCurrent);
            return;
        case vaInt32:
            Stream()->Seek(4, soFromCurrent);
            return;
        case vaInt64:
        case vaExtended:
            Stream()->Seek(8, soFromCurrent);
            return;
        case vaString:
        case vaWString:
        case vaUTF8String:
        case vaBinary:
            Stream()->Seek(ReadLength(), soFromCurrent);
            return;
        case vaIdent:
            ReadStr();
            return;
        case vaSet:
            while (!ReadStr().empty()) {
            }
            return;
        case vaCollection:
            while (!EndOfList()) {
                ReadListBegin();
                while (!EndOfList()) {
                    ReadStr();
                    SkipValue();
                }
                ReadListEnd();
            }
            ReadListEnd();
            return;
    }
}

void TReader::ReadCollection(TCollection* Collection) {
    if (ReadValue() != vaCollection) InvalidValue();
    CollectionUpdate update(Collection);
    Collection->Clear();
    while (!EndOfList()) {
        ReadListBegin();
        TCollectionItem* item = Collection->Add();
        while (!EndOfList()) ReadProperty(item);
        ReadListEnd();
    }
    ReadListEnd();
}

void TReader::ReadPropValue(TObject* Instance, const TPropInfo& Info) {
    if (Info.Kind == tkClass) {
        auto* collection = dynamic_cast<TCollection*>(std::get<TObject*>(Info.Get(Instance)));
        if (!collection || NextValue() != vaCollection) InvalidValue();
        ReadCollection(collection);
        return;
    }
    if (!Info.Set) InvalidValue();
    TPropValue value;
    switch (Info.Kind) {
        case tkInteger:
            value = std::int64_t{ReadInteger()};
            break;
        case tkInt64:
            value = ReadInt64();
            break;
        case tkChar:
            value = std::int64_t{static_cast<unsigned char>(ReadChar())};
            break;
        case tkWChar:
            value = std::int64_t{ReadWideChar()};
            break;
        case tkEnumeration: {
            const int ordinal = Info.Boolean ? ReadBoolean() : GetEnumValue(Info, ReadIdent());
            if (ordinal < 0) InvalidValue();
            value = std::int64_t{ordinal};
            break;
        }
        case tkSet: {
            if (ReadValue() != vaSet) InvalidValue();
            std::uint64_t bits = 0;
            for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) {
                const int ordinal = GetEnumValue(Info, name);
                if (ordinal < 0 || ordinal > 63) InvalidValue();
                bits |= std::uint64_t{1} << ordinal;
            }
            value = static_cast<std::int64_t>(bits);
            break;
        }
        case tkFloat:
            value = ReadFloat();
            break;
        case tkString:
            value = ReadString();
            break;
        case tkWString:
            value = ReadWideString();
            break;
        default:
            InvalidValue();
    }
    Info.Set(Instance, value);
}

void TReader::ReadProperty(TPersistent* Instance) {
    propName_ = ReadStr();
    const std::int64_t valueStart = Stream()->Position();
    try {
        // "Font.Name": walk to the sub-object, then read its property.
        TPersistent* target = Instance;
        std::string name = propName_;
        for (size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.')) {
            const TPropInfo* info = GetPropInfo(target->ClassType(), name.substr(0, dot));
            TPersistent* next = nullptr;
            if (info && info->Kind == tkClass)
                next = dynamic_cast<TPersistent*>(std::get<TObject*>(info->Get(target)));
            if (!next) throw EReadError(Format("Property %s does not exist", propName_));
            target = next;
            name.erase(0, dot + 1);
        }
        if (const TPropInfo* info = GetPropInfo(target->ClassType(), name)) {
            ReadPropValue(target, *info);
            return;
        }
        defineName_ = name;
        defineFound_ = false;
        CallDefineProperties(target);
        defineName_.clear();
        if (!defineFound_) throw EReadError(Format("Property %s does not exist", propName_));
    } catch (const Exception& e) {
        defineName_.clear();
        bool handled = false;
        if (Assigned(OnError)) OnError(this, e.Message(), handled);
        if (!handled) throw;
        // The value may have been read part way: start it again and pass
        // over it whole.
        Stream()->SetPosition(valueStart);
        SkipValue();
    }
}

void TReader::ReadProperties(TPersistent* Instance) {
    while (!EndOfList()) ReadProperty(Instance);
    ReadListEnd();
}

bool TReader::MatchesDefined(const std::string& Name) const {
    return !defineFound_ && !defineName_.empty() && SameText(Name, defineName_);
}

// A reader procedure may read whole objects (ReadProperty again): what this
// level was looking for comes back afterwards, marked as found.
TReader::DefinedScope::DefinedScope(TReader* reader)
    : reader_(reader), name_(reader->defineName_), propName_(reader->propName_) {
    reader_->defineFound_ = true;
}

TReader::DefinedScope::~DefinedScope() {
    reader_->defineName_ = name_;
    reader_->propName_ = propName_;
    reader_->defineFound_ = true;
}

void TReader::DefineProperty(const std::string& Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
    if (!MatchesDefined(Name) || !Assigned(ReadData)) return;
    const DefinedScope scope(this);
    ReadData(this);
}

void TReader::DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData, const TStreamProc&,
                                   bool) {
    if (!MatchesDefined(Name) || !Assigned(ReadData)) return;
    const DefinedScope scope(this);
    if (ReadValue() != vaBinary) InvalidValue();
    const std::string bytes = ReadBytes(ReadLength());
    TOwned<TMemoryStream> data(Create<TMemoryStream>());
    data->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    data->SetPosition(0);
    ReadData(data.get());
}

// ---- TWriter ----------------------------------------------------------------

void TWriter::WriteValue(TValueType Value) {
    const std::uint8_t tag = Value;
    Stream()->WriteBuffer(&tag, 1);
}

void TWriter::WriteLength(std::size_t Length) {
    if (Length > std::numeric_limits<std::int32_t>::max()) throw EWriteError("Stream write error");
    const auto length = static_cast<std::uint32_t>(Length);
    Stream()->WriteBuffer(&length, 4);
}

void TWriter::WriteInteger(std::int64_t Value) {
    if (Value >= INT8_MIN && Value <= INT8_MAX) {
        WriteValue(vaInt8);
        const auto value = static_cast<std::int8_t>(Value);
        Stream()->WriteBuffer(&value, 1);
    } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
        WriteValue(vaInt16);
        const auto value = static_cast<std::int16_t>(Value);
        Stream()->WriteBuffer(&value, 2);
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        WriteValue(vaInt32);
        const auto value = static_cast<std::int32_t>(Value);
        Stream()->WriteBuffer(&value, 4);
    } else {
        WriteValue(vaInt64);
        Stream()->WriteBuffer(&Value, 8);
    }
}

void TWriter::WriteFloat(double Value) {
    WriteValue(vaExtended);
    Stream()->WriteBuffer(&Value, 8);
}

void TWriter::WriteString(const std::string& Value) {
    WriteValue(vaString);
    WriteLength(Value.size());
    Stream()->WriteBuffer(Value.data(), static_cast<int>(Value.size()));
}

void TWriter::WriteWideString(const std::wstring& Value) {
    WriteValue(vaWString);
    WriteLength(Value.size() * 2);
    Stream()->WriteBuffer(Value.data(), static_cast<int>(Value.size() * 2));
}

void TWriter::WriteStr(const std::string& Value) {
    if (Value.size() > 255) throw EWriteError("Stream write error");
    const auto length = static_cast<std::uint8_t>(Value.size());
    Stream()->WriteBuffer(&length, 1);
    Stream()->WriteBuffer(Value.data(), length);
}

void TWriter::WriteIdent(const std::string& Value) {
    if (SameText(Value, "False")) return WriteValue(vaFalse);
    if (SameText(Value, "True")) return WriteValue(vaTrue);
    if (SameText(Value, "nil")) return WriteValue(vaNil);
    WriteValue(vaIdent);
    WriteStr(Value);
}

void TWriter::WriteCollection(TCollection* Collection) {
    WriteValue(vaCollection);
    if (Collection)
        for (int i = 0; i < Collection->Count(); ++i) {
            WriteListBegin();
            {
                // An item's names stand on their own, whatever path led here.
                PropPathScope scope(this, "");
                WriteProperties(Collection->Items(i));
            }
            WriteListEnd();
        }
    WriteListEnd();
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo& Info) {
    if (Info.Stored && !Info.Stored(Instance)) return;
    const TPropValue value = Info.Get(Instance);
    if (const auto* ordinal = std::get_if<std::int64_t>(&value)) {
        if (Info.Default && *Info.Default == *ordinal) return;
        switch (Info.Kind) {
            case tkEnumeration:
                WritePropName(Info.Name);
                if (Info.Boolean)
                    WriteBoolean(*ordinal != 0);
                else
                    WriteIdent(GetEnumName(Info, *ordinal));
                return;
            case tkSet:
                WritePropName(Info.Name);
                WriteValue(vaSet);
                for (unsigned bit = 0; bit < 64; ++bit)
                    if (static_cast<std::uint64_t>(*ordinal) & (std::uint64_t{1} << bit))
                        WriteStr(GetEnumName(Info, bit));
                WriteStr("");
                return;
            case tkChar:
                if (*ordinal == 0) return;
                WritePropName(Info.Name);
                WriteChar(static_cast<char>(*ordinal));
                return;
            case tkWChar:
                if (*ordinal == 0) return;
                WritePropName(Info.Name);
                WriteWideChar(static_cast<wchar_t>(*ordinal));
                return;
            default:
                WritePropName(Info.Name);
                WriteInteger(*ordinal);
                return;
        }
    }
    if (const auto* number = std::get_if<double>(&value)) {
        if (*number == 0) return;
        WritePropName(Info.Name);
        WriteFloat(*number);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        if (text->empty()) return;
        WritePropName(Info.Name);
        WriteString(*text);
    } else if (const auto* wide = std::get_if<std::wstring>(&value)) {
        if (wide->empty()) return;
        WritePropName(Info.Name);
        WriteWideString(*wide);
    } else if (const auto* object = std::get_if<TObject*>(&value)) {
        if (auto* collection = dynamic_cast<TCollection*>(*object)) {
            WritePropName(Info.Name);
            WriteCollection(collection);
        } else if (auto* persistent = dynamic_cast<TPersistent*>(*object);
                   persistent && !dynamic_cast<TComponent*>(persistent)) {
            // Components referred to are not streamed: only sub-objects
            // that belong to the instance are.
            PropPathScope scope(this, propPath_ + Info.Name + ".");
            WriteProperties(persistent);
        }
    }
}

void TWriter::WriteProperties(TPersistent* Instance) {
    for (const TPropInfo* info : GetPropList(Instance->ClassType())) WriteProperty(Instance, *info);
    CallDefineProperties(Instance);
}

void TWriter::DefineProperty(const std::string& Name, const TReaderProc&, const TWriterProc& WriteData,
                             bool HasData) {
    if (!HasData || !Assigned(WriteData)) return;
    WritePropName(Name);
    WriteData(this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData) {
    if (!HasData || !Assigned(WriteData)) return;
    TOwned<TMemoryStream> data(Create<TMemoryStream>());
    WriteData(data.get());
    WritePropName(Name);
    WriteValue(vaBinary);
    WriteLength(static_cast<std::size_t>(data->Size()));
    Stream()->WriteBuffer(data->Memory(), static_cast<int>(data->Size()));
}

void WriteObjectProperties(TStream* Stream, TPersistent* Instance) {
    TOwned<TWriter> writer(Create<TWriter>(Stream));
    writer->WriteProperties(Instance);
    writer->WriteListEnd();
}

void ReadObjectProperties(TStream* Stream, TPersistent* Instance, const TReaderError& OnError) {
    TOwned<TReader> reader(Create<TReader>(Stream));
    reader->OnError = OnError;
    reader->ReadProperties(Instance);
}
