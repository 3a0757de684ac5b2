// The filer: objects written to and read from a stream of named property
// values. `TWriter` writes an object's published properties and what its
// `DefineProperties` defines; `TReader` sets them again by name, nesting into
// sub-objects ("Font.Name") and collections, and lets a class read and drop
// properties it no longer has.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/core/component.h"
#include "classlib/core/delegate.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/properties.h"

class TStream;
class TCollection;
class TReader;
class TWriter;

// The tag before every value in the stream.
enum TValueType : std::uint8_t {
    vaNull,  // end of a list, of a collection or of an object's properties
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaInt64,
    vaExtended,
    vaString,
    vaWString,
    vaUTF8String,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaNil,
    vaCollection,
};

using TReaderProc = TDelegate<void(TReader* Reader)>;
using TWriterProc = TDelegate<void(TWriter* Writer)>;
using TStreamProc = TDelegate<void(TStream* Stream)>;

class TFiler : public TObject {
    VX_CLASS(TFiler, TObject)
public:
    // The stream is the caller's; the filer only moves through it.
    explicit TFiler(TStream* Stream) : stream_(Stream) {}

    TStream* Stream() const { return stream_; }
    // The component the streamed objects belong to (may be null).
    TComponent* Root() const { return root_; }
    void SetRoot(TComponent* Value) { root_ = Value; }

    // Called from DefineProperties: a value that is not a published
    // property. The reader calls ReadData when the stream holds Name; the
    // writer writes Name and calls WriteData when HasData is true.
    virtual void DefineProperty(const std::string& Name, const TReaderProc& ReadData,
                                const TWriterProc& WriteData, bool HasData) = 0;
    // Bytes of the procedures' own making, handed over as a stream.
    virtual void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;

protected:
    // Runs Instance's (protected) DefineProperties with this filer.
    void CallDefineProperties(TPersistent* Instance);

private:
    TStream* stream_;
    TComponent* root_ = nullptr;
};

// Handed every failure while a property is read: unknown names and values
// that do not fit. Setting Handled skips the value and reading goes on.
using TReaderError = TDelegate<void(TReader* Reader, const std::string& Message, bool& Handled)>;

class TReader : public TFiler {
    VX_CLASS(TReader, TFiler)
public:
    using TFiler::TFiler;

    void DefineProperty(const std::string& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // The tag of the next value, without moving past it.
    TValueType NextValue();
    TValueType ReadValue();
    // True at the end marker of a list, collection or property block (not
    // consumed).
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListBegin();
    void ReadListEnd();
    // Reading a value of another kind raises EReadError "Invalid property
    // value"; a stream that ends early raises EReadError "Stream read error".
    bool ReadBoolean();
    int ReadInteger();
    std::int64_t ReadInt64();
    double ReadFloat();
    // Wide and UTF-8 values are converted.
    std::string ReadString();
    std::wstring ReadWideString();
    std::string ReadIdent();
    char ReadChar();
    wchar_t ReadWideChar();
    // A property name.
    std::string ReadStr();
    // Passes over one value of any kind, lists and collections included.
    void SkipValue();

    // Clears the collection, then adds one item per streamed item.
    void ReadCollection(TCollection* Collection);
    // One property: its name (a path into sub-objects), then the value.
    // Published properties come first, then those DefineProperties defines;
    // an unknown name goes to OnError and otherwise raises EReadError
    // "Property %s does not exist".
    void ReadProperty(TPersistent* Instance);
    // Properties up to the end marker, which is consumed.
    void ReadProperties(TPersistent* Instance);
    // The name of the property being read, path included.
    const std::string& PropName() const { return propName_; }

    TReaderError OnError;

private:
    void ReadPropValue(TObject* Instance, const TPropInfo& Info);
    void ReadExactly(void* Buffer, int Count);
    std::uint32_t ReadLength();
    std::string ReadBytes(std::uint32_t Count);
    [[noreturn]] void InvalidValue();
    bool MatchesDefined(const std::string& Name) const;
    class DefinedScope {
    public:
        explicit DefinedScope(TReader* reader);
        ~DefinedScope();
        DefinedScope(const DefinedScope&) = delete;
        DefinedScope& operator=(const DefinedScope&) = delete;

    private:
        TReader* reader_;
        std::string name_;
        std::string propName_;
    };

    std::string propName_;
    std::string defineName_;
    bool defineFound_ = false;
};

class TWriter : public TFiler {
    VX_CLASS(TWriter, TFiler)
public:
    using TFiler::TFiler;

    void DefineProperty(const std::string& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    void WriteValue(TValueType Value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    // In the fewest bytes that hold the value.
    void WriteInteger(std::int64_t Value);
    void WriteFloat(double Value);
    void WriteString(const std::string& Value);
    void WriteWideString(const std::wstring& Value);
    void WriteIdent(const std::string& Value);
    void WriteChar(char Value) { WriteString(std::string(1, Value)); }
    void WriteWideChar(wchar_t Value) { WriteWideString(std::wstring(1, Value)); }
    // A property name as it stands (WritePropName adds the path).
    void WriteStr(const std::string& Value);
    void WritePropName(const std::string& Name) { WriteStr(propPath_ + Name); }

    void WriteCollection(TCollection* Collection);
    // The published properties that are stored and differ from their
    // defaults, then the defined ones; no end marker.
    void WriteProperties(TPersistent* Instance);
    void WriteProperty(TPersistent* Instance, const TPropInfo& Info);

    // What WritePropName puts before a name: "Font." while a font's
    // properties are written; empty inside a collection item.
    const std::string& PropPath() const { return propPath_; }
    void SetPropPath(const std::string& Value) { propPath_ = Value; }

private:
    void WriteLength(std::size_t Length);

    std::string propPath_;
};

// A whole property block: WriteProperties and the end marker / ReadProperties.
void WriteObjectProperties(TStream* Stream, TPersistent* Instance);
void ReadObjectProperties(TStream* Stream, TPersistent* Instance, const TReaderError& OnError = nullptr);
