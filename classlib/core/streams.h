// Byte streams: the abstract `TStream`, `THandleStream` over a Win32 file
// handle it does not own, `TFileStream` owning the file it opens, and the
// in-memory `TMemoryStream` and `TStringStream`, and the read-only
// `TResourceStream` over a resource carried inside a module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/core/object.h"
#include "classlib/core/win32.h"

enum TSeekOrigin : unsigned short { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// TFileStream open modes: one access mode or'ed with one share mode, or
// fmCreate alone (create or truncate, nobody else may open it meanwhile).
constexpr unsigned short fmOpenRead = 0x0000;
constexpr unsigned short fmOpenWrite = 0x0001;
constexpr unsigned short fmOpenReadWrite = 0x0002;
constexpr unsigned short fmShareCompat = 0x0000;
constexpr unsigned short fmShareExclusive = 0x0010;
constexpr unsigned short fmShareDenyWrite = 0x0020;
constexpr unsigned short fmShareDenyRead = 0x0030;
constexpr unsigned short fmShareDenyNone = 0x0040;
constexpr unsigned short fmCreate = 0xFFFF;

class TStream : public TObject {
    VX_CLASS(TStream, TObject)
public:
    // Read and Write move up to `count` bytes and return how many moved
    // (0 at the end or on failure); they never raise.
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    // Returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(int64_t position) { Seek(position, soFromBeginning); }
    // Size leaves the position where it was.
    virtual int64_t Size();
    virtual void SetSize(int64_t size);

    // All or nothing: EReadError "Stream read error" / EWriteError
    // "Stream write error" when fewer bytes moved.
    void ReadBuffer(void* buffer, int count);
    void WriteBuffer(const void* buffer, int count);

    // Copies `count` bytes from the source's position; a count of 0 copies
    // the whole source from its start. Returns the bytes copied.
    int64_t CopyFrom(TStream* source, int64_t count);
};

// A stream over a file, pipe or device handle that somebody else closes.
class THandleStream : public TStream {
    VX_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(HANDLE handle) : handle_(handle) {}

    HANDLE Handle() const { return handle_; }

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // Raises EOSError when the file cannot be cut or extended.
    void SetSize(int64_t size) override;

protected:
    HANDLE handle_;
};

// Opens or creates a file and closes it when freed. Failures raise
// EFOpenError "Cannot open file \"<full name>\". <system error text>" or
// EFCreateError "Cannot create file \"<full name>\". <system error text>".
class TFileStream : public THandleStream {
    VX_CLASS(TFileStream, THandleStream)
public:
    TFileStream(const std::string& fileName, unsigned short mode);
    // For a name that must survive any code page; FileName() holds its
    // 8-bit form.
    TFileStream(const std::wstring& fileName, unsigned short mode);

    const std::string& FileName() const { return fileName_; }

protected:
    ~TFileStream() override;

private:
    std::string fileName_;
};

// A growable block of memory. Writing past the end grows it; a gap left by
// seeking past the end before writing reads as zero bytes.
class TMemoryStream : public TStream {
    VX_CLASS(TMemoryStream, TStream)
public:
    TMemoryStream() = default;

    // Null while the stream is empty; moves when the stream grows.
    void* Memory() { return data_.empty() ? nullptr : data_.data(); }

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return size_; }
    void SetSize(int64_t size) override;

    void Clear();
    // Replaces the content with the whole source stream / file.
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::string& fileName);
    // Writes the whole content, wherever the position is.
    void SaveToStream(TStream* stream);
    void SaveToFile(const std::string& fileName);

private:
    void SetCapacity(int64_t capacity);

    std::vector<char> data_;  // its size is the capacity
    int64_t size_ = 0;
    int64_t position_ = 0;
};

// A stream whose content is an 8-bit string. Seeking stays within the data.
class TStringStream : public TStream {
    VX_CLASS(TStringStream, TStream)
public:
    explicit TStringStream(std::string data = {}) : data_(std::move(data)) {}

    const std::string& DataString() const { return data_; }

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t size) override;

    // Up to `count` bytes from the position on.
    std::string ReadString(int count);
    void WriteString(const std::string& text);

private:
    std::string data_;
    int64_t position_ = 0;
};

// The data of one resource of a module, read in place: the module keeps the
// bytes, so nothing is copied and writing moves nothing. Seeking stays within
// the data.
class TResourceStream : public TStream {
    VX_CLASS(TResourceStream, TStream)
public:
    // EResNotFound "Resource NAME not found" when the module has no such
    // resource of that type (RT_RCDATA when Type is null).
    TResourceStream(HMODULE Module, const std::string& Name, const char* Type = nullptr);

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return size_; }
    void SetSize(int64_t size) override;

private:
    const char* data_ = nullptr;
    int64_t size_ = 0;
    int64_t position_ = 0;
};
