#include "classlib/core/streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "classlib/core/exceptions.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"

// ---- TStream ----------------------------------------------------------------

namespace {
// The position a seek names in a stream held in memory, before any clamping.
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size) {
    switch (origin) {
        case soFromBeginning:
            return offset;
        case soFromCurrent:
            return position + offset;
        case soFromEnd:
            return size + offset;
    }
    return position;
}
}  // namespace

int64_t TStream::Size() {
    int64_t position = Seek(0, soFromCurrent);
    int64_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* buffer, int count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* source, int64_t count) {
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    constexpr int64_t kBufferSize = 0xF000;
    std::vector<char> buffer(static_cast<size_t>(std::min(count, kBufferSize)));
    int64_t result = count;
    while (count > 0) {
        int chunk = static_cast<int>(std::min(count, kBufferSize));
        source->ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        count -= chunk;
    }
    return result;
}

// ---- THandleStream ----------------------------------------------------------

int THandleStream::Read(void* buffer, int count) {
    DWORD done = 0;
    if (count <= 0 || !ReadFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
    return static_cast<int>(done);
}

int THandleStream::Write(const void* buffer, int count) {
    DWORD done = 0;
    if (count <= 0 || !WriteFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
    return static_cast<int>(done);
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(handle_, distance, &result, origin)) return -1;
    return result.QuadPart;
}

void THandleStream::SetSize(int64_t size) {
    Seek(size, soFromBeginning);
    if (!SetEndOfFile(handle_)) {
        DWORD error = GetLastError();
        throw EOSError(
            "System Error.  Code: " + IntToStr(static_cast<int>(error)) + ".\r\n" + SysErrorMessage(error),
            error);
    }
}

// ---- TFileStream ------------------------------------------------------------

namespace {

HANDLE OpenFileHandle(const std::wstring& fileName, unsigned short mode) {
    static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    // Compat and exclusive both lock others out.
    static const DWORD share[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE};
    unsigned accessIndex = mode & 3, shareIndex = (mode & 0xF0) >> 4;
    if (accessIndex > 2 || shareIndex > 4 || (mode & ~0xF3) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(fileName.c_str(), access[accessIndex], share[shareIndex], nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE CreateFileHandle(const std::wstring& fileName) {
    return CreateFileW(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, unsigned short mode)
    : TFileStream(ToWide(fileName), mode) {
    fileName_ = fileName;
}

TFileStream::TFileStream(const std::wstring& fileName, unsigned short mode)
    : THandleStream(INVALID_HANDLE_VALUE), fileName_(ToAnsi(fileName)) {
    bool creating = mode == fmCreate;
    // An empty name would otherwise open the current folder's name space.
    handle_ = fileName.empty() ? (SetLastError(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE)
              : creating       ? CreateFileHandle(fileName)
                               : OpenFileHandle(fileName, mode);
    if (handle_ == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        const std::wstring text = L"\"" + ExpandFileName(fileName) + L"\". " + ToWide(SysErrorMessage(error));
        if (creating) throw EFCreateError(L"Cannot create file " + text);
        throw EFOpenError(L"Cannot open file " + text);
    }
}

TFileStream::~TFileStream() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

// ---- TMemoryStream ----------------------------------------------------------

namespace {
constexpr int64_t kMemoryDelta = 0x2000;
// What one 32-bit process can sensibly hold in one block.
constexpr int64_t kMaxMemory = std::numeric_limits<int>::max();
}  // namespace

void TMemoryStream::SetCapacity(int64_t capacity) {
    if (capacity > 0 && capacity != size_) capacity = (capacity + kMemoryDelta - 1) & ~(kMemoryDelta - 1);
    if (capacity == static_cast<int64_t>(data_.size())) return;
    if (capacity > kMaxMemory) throw EStreamError("Out of memory while expanding memory stream");
    try {
        data_.resize(static_cast<size_t>(capacity));
        if (capacity == 0) data_.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
}

int TMemoryStream::Read(void* buffer, int count) {
    if (position_ < 0 || count <= 0) return 0;
    int64_t available = size_ - position_;
    if (available <= 0) return 0;
    int moved = static_cast<int>(std::min<int64_t>(available, count));
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(moved));
    position_ += moved;
    return moved;
}

int TMemoryStream::Write(const void* buffer, int count) {
    if (position_ < 0 || count <= 0) return 0;
    int64_t end = position_ + count;
    if (end > size_) {
        if (end > static_cast<int64_t>(data_.size())) SetCapacity(end);
        // The gap a seek past the end left behind must not show old bytes.
        if (position_ > size_) std::memset(data_.data() + size_, 0, static_cast<size_t>(position_ - size_));
        size_ = end;
    }
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    position_ = SeekTarget(offset, origin, position_, size_);
    return position_;
}

void TMemoryStream::SetSize(int64_t size) {
    if (size < 0) size = 0;
    int64_t oldPosition = position_;
    int64_t oldSize = size_;
    SetCapacity(size);
    if (size > oldSize) std::memset(data_.data() + oldSize, 0, static_cast<size_t>(size - oldSize));
    size_ = size;
    if (oldPosition > size) Seek(0, soFromEnd);
}

void TMemoryStream::Clear() {
    SetCapacity(0);
    size_ = 0;
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream) {
    stream->SetPosition(0);
    int64_t count = stream->Size();
    SetSize(count);
    if (count != 0) stream->ReadBuffer(data_.data(), static_cast<int>(count));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TOwned<TFileStream> file(Create<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite));
    LoadFromStream(file.get());
}

void TMemoryStream::SaveToStream(TStream* stream) {
    if (size_ != 0) stream->WriteBuffer(data_.data(), static_cast<int>(size_));
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
    TOwned<TFileStream> file(Create<TFileStream>(fileName, fmCreate));
    SaveToStream(file.get());
}

// ---- TStringStream ----------------------------------------------------------

int TStringStream::Read(void* buffer, int count) {
    int64_t available = Size() - position_;
    if (count <= 0 || available <= 0) return 0;
    int moved = static_cast<int>(std::min<int64_t>(available, count));
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(moved));
    position_ += moved;
    return moved;
}

int TStringStream::Write(const void* buffer, int count) {
    if (count <= 0) return 0;
    size_t end = static_cast<size_t>(position_) + static_cast<size_t>(count);
    if (end > data_.size()) data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = static_cast<int64_t>(end);
    return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
    position_ = std::clamp<int64_t>(SeekTarget(offset, origin, position_, Size()), 0, Size());
    return position_;
}

void TStringStream::SetSize(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    position_ = std::min(position_, Size());
}

std::string TStringStream::ReadString(int count) {
    int64_t available = std::max<int64_t>(Size() - position_, 0);
    size_t length = static_cast<size_t>(std::clamp<int64_t>(count, 0, available));
    std::string result = data_.substr(static_cast<size_t>(position_), length);
    position_ += static_cast<int64_t>(length);
    return result;
}

void TStringStream::WriteString(const std::string& text) {
    Write(text.data(), static_cast<int>(text.size()));
}

// ---- TResourceStream --------------------------------------------------------

TResourceStream::TResourceStream(HMODULE Module, const std::string& Name, const char* Type) {
    HRSRC found = FindResourceA(Module, Name.c_str(), Type ? Type : MAKEINTRESOURCEA(10));
    HGLOBAL loaded = found ? LoadResource(Module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) throw EResNotFound(Format("Resource %s not found", Name.c_str()));
    // Resources live as long as their module; there is nothing to free.
    data_ = static_cast<const char*>(bytes);
    size_ = SizeofResource(Module, found);
}

int TResourceStream::Read(void* buffer, int count) {
    int64_t available = size_ - position_;
    if (count <= 0 || available <= 0) return 0;
    int moved = static_cast<int>(std::min<int64_t>(available, count));
    std::memcpy(buffer, data_ + position_, static_cast<size_t>(moved));
    position_ += moved;
    return moved;
}

int TResourceStream::Write(const void*, int) {
    return 0;
}

int64_t TResourceStream::Seek(int64_t offset, TSeekOrigin origin) {
    position_ = std::clamp<int64_t>(SeekTarget(offset, origin, position_, size_), 0, size_);
    return position_;
}

void TResourceStream::SetSize(int64_t) {
    throw EStreamError("Can't change the size of a resource stream");
}
