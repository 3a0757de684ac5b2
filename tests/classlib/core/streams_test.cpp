// Streams: file open errors, sharing, buffer errors, memory growth and
// seeking, copying and string streams.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/files.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

// A file name in the temp folder that is removed again after the test.
class TempFile {
public:
    explicit TempFile(const std::string& tag)
        : name_(GetTempDir() + "vx_streams_" + tag + "_" + IntToStr(GetCurrentProcessId()) + ".tmp") {
        DeleteFile(name_);
    }
    ~TempFile() { DeleteFile(name_); }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

void WriteFileText(const std::string& name, const std::string& text) {
    TOwned<TFileStream> stream(Create<TFileStream>(name, fmCreate));
    stream->WriteBuffer(text.data(), static_cast<int>(text.size()));
}

std::string ReadAll(TStream* stream) {
    std::string text(static_cast<size_t>(stream->Size() - stream->Position()), '\0');
    stream->ReadBuffer(text.data(), static_cast<int>(text.size()));
    return text;
}

}  // namespace

TEST(FileStream, OpenAndCreateFailuresNameTheFullPathAndTheSystemReason) {
    std::string missingFolder = GetTempDir() + "vx_no_such_folder_" + IntToStr(GetCurrentProcessId());
    std::string missingFile = missingFolder + "\\absent.txt";
    struct Case {
        unsigned short mode;
        const char* prefix;
        bool isCreate;
    };
    for (const Case& c : {Case{fmOpenRead, "Cannot open file", false},
                          Case{fmOpenReadWrite | fmShareDenyNone, "Cannot open file", false},
                          Case{fmCreate, "Cannot create file", true}}) {
        SCOPED_TRACE(c.mode);
        try {
            TOwned<TFileStream> stream(Create<TFileStream>(missingFile, c.mode));
            FAIL() << "no exception";
        } catch (const EFCreateError& e) {
            EXPECT_TRUE(c.isCreate);
            EXPECT_EQ(e.Message(), std::string(c.prefix) + " \"" + missingFile + "\". " +
                                       SysErrorMessage(ERROR_PATH_NOT_FOUND));
        } catch (const EFOpenError& e) {
            EXPECT_FALSE(c.isCreate);
            EXPECT_EQ(e.Message(), std::string(c.prefix) + " \"" + missingFile + "\". " +
                                       SysErrorMessage(ERROR_PATH_NOT_FOUND));
        }
    }
}

TEST(FileStream, ErrorMessageCarriesTheExpandedName) {
    std::string saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(GetTempDir()));
    try {
        TOwned<TFileStream> stream(Create<TFileStream>("vx_absent_file.txt", fmOpenRead));
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + GetTempDir() + "vx_absent_file.txt\". " +
                                   SysErrorMessage(ERROR_FILE_NOT_FOUND));
    }
    SetCurrentDir(saved);
}

// The message names the file as it is: letters outside the code page would
// come out as "?" in an 8-bit text.
TEST(FileStream, ErrorMessageKeepsANameOutsideTheCodePage) {
    const std::wstring missing = WideTempDir() + L"\u0434\u0438\u0441\u043a \u65e5\u672c\\absent.txt";
    try {
        TOwned<TFileStream> stream(Create<TFileStream>(missing, fmOpenRead));
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.WideMessage(),
                  L"Cannot open file \"" + missing + L"\". " + ToWide(SysErrorMessage(ERROR_PATH_NOT_FOUND)));
        EXPECT_EQ(e.Message(), ToAnsi(e.WideMessage()));
    }
}

TEST(FileStream, CreateTruncatesAnExistingFile) {
    TempFile file("truncate");
    WriteFileText(file.Name(), "a longer first content");
    WriteFileText(file.Name(), "short");
    TOwned<TFileStream> stream(Create<TFileStream>(file.Name(), fmOpenRead));
    EXPECT_EQ(stream->Size(), 5);
    EXPECT_EQ(ReadAll(stream.get()), "short");
    EXPECT_EQ(stream->FileName(), file.Name());
}

TEST(FileStream, ShareModesDecideWhoElseMayOpen) {
    TempFile file("share");
    WriteFileText(file.Name(), "x");
    struct Case {
        unsigned short first, second;
        bool secondOpens;
    };
    const Case cases[] = {
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenReadWrite | fmShareDenyNone, false},
        {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead | fmShareCompat, fmOpenRead | fmShareDenyNone, false},
        {fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
        {fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyNone, true},
        {fmOpenReadWrite | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.first << " then " << c.second);
        TOwned<TFileStream> first(Create<TFileStream>(file.Name(), c.first));
        bool opened = true;
        try {
            TOwned<TFileStream> second(Create<TFileStream>(file.Name(), c.second));
        } catch (const EFOpenError&) {
            opened = false;
        }
        EXPECT_EQ(opened, c.secondOpens);
    }
}

TEST(FileStream, FreeingClosesTheFile) {
    TempFile file("close");
    WriteFileText(file.Name(), "x");
    TOwned<TFileStream>(Create<TFileStream>(file.Name(), fmOpenRead | fmShareExclusive)).reset();
    EXPECT_NO_THROW(TOwned<TFileStream>(Create<TFileStream>(file.Name(), fmOpenRead | fmShareExclusive)));
}

TEST(FileStream, SeekTakesSixtyFourBitOffsetsAndSetSizeCuts) {
    TempFile file("seek");
    TOwned<TFileStream> stream(Create<TFileStream>(file.Name(), fmCreate));
    const int64_t beyondFourGiB = 0x140000000LL;
    EXPECT_EQ(stream->Seek(beyondFourGiB, soFromBeginning), beyondFourGiB);
    EXPECT_EQ(stream->Seek(-1, soFromCurrent), beyondFourGiB - 1);
    stream->SetPosition(0);
    stream->WriteBuffer("0123456789", 10);
    stream->SetSize(4);
    EXPECT_EQ(stream->Size(), 4);
    EXPECT_EQ(stream->Position(), 4);
    EXPECT_EQ(stream->Seek(-2, soFromEnd), 2);
}

TEST(Stream, ReadBufferAndWriteBufferFailWhenShort) {
    TempFile file("short");
    WriteFileText(file.Name(), "abc");
    TOwned<TFileStream> stream(Create<TFileStream>(file.Name(), fmOpenRead));
    char buffer[8];
    try {
        stream->ReadBuffer(buffer, 4);
        ADD_FAILURE() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    try {
        stream->WriteBuffer("x", 1);  // opened for reading only
        ADD_FAILURE() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
    EXPECT_NO_THROW(stream->ReadBuffer(buffer, 0));
}

TEST(MemoryStream, GrowsAsWrittenAndKeepsEveryByte) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    EXPECT_EQ(stream->Memory(), nullptr);
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        std::string chunk = IntToStr(i) + ";";
        stream->WriteBuffer(chunk.data(), static_cast<int>(chunk.size()));
        expected += chunk;
    }
    EXPECT_EQ(stream->Size(), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(std::string(static_cast<char*>(stream->Memory()), expected.size()), expected);
    stream->SetPosition(0);
    EXPECT_EQ(ReadAll(stream.get()), expected);
    char byte;
    EXPECT_EQ(stream->Read(&byte, 1), 0);
}

TEST(MemoryStream, SeekOriginsAndAGapReadingAsZeros) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    stream->WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream->Seek(2, soFromBeginning), 2);
    EXPECT_EQ(stream->Seek(1, soFromCurrent), 3);
    EXPECT_EQ(stream->Seek(-1, soFromEnd), 5);
    // Reuse memory that held other bytes, then leave a gap past the end.
    stream->SetSize(1);
    EXPECT_EQ(stream->Position(), 1);
    EXPECT_EQ(stream->Seek(4, soFromEnd), 5);
    stream->WriteBuffer("z", 1);
    EXPECT_EQ(stream->Size(), 6);
    EXPECT_EQ(std::string(static_cast<char*>(stream->Memory()), 6), std::string("a\0\0\0\0z", 6));
    // Before the start nothing is read or written.
    stream->SetPosition(-3);
    char buffer[2];
    EXPECT_EQ(stream->Read(buffer, 2), 0);
    EXPECT_EQ(stream->Write("q", 1), 0);
}

TEST(MemoryStream, SetSizeGrowsWithZerosAndClearEmpties) {
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    stream->WriteBuffer("ab", 2);
    stream->SetSize(5);
    EXPECT_EQ(std::string(static_cast<char*>(stream->Memory()), 5), std::string("ab\0\0\0", 5));
    EXPECT_EQ(stream->Position(), 2);
    stream->Clear();
    EXPECT_EQ(stream->Size(), 0);
    EXPECT_EQ(stream->Position(), 0);
    EXPECT_EQ(stream->Memory(), nullptr);
}

TEST(MemoryStream, FileAndStreamRoundTripTakeTheWholeContent) {
    TempFile file("memory");
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    stream->WriteBuffer("hello\0world", 11);
    stream->SetPosition(3);  // saving ignores the position
    stream->SaveToFile(file.Name());

    TOwned<TMemoryStream> loaded(Create<TMemoryStream>());
    loaded->LoadFromFile(file.Name());
    EXPECT_EQ(loaded->Size(), 11);
    EXPECT_EQ(loaded->Position(), 0);
    EXPECT_EQ(std::memcmp(loaded->Memory(), "hello\0world", 11), 0);

    TOwned<TStringStream> source(Create<TStringStream>("replaced"));
    source->SetPosition(4);  // loading reads from the start
    loaded->LoadFromStream(source.get());
    EXPECT_EQ(std::string(static_cast<char*>(loaded->Memory()), 8), "replaced");

    EXPECT_THROW(loaded->LoadFromFile(file.Name() + ".absent"), EFOpenError);
}

TEST(Stream, CopyFromWithZeroCopiesTheWholeSourceElseFromItsPosition) {
    std::string big(100000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    TOwned<TStringStream> source(Create<TStringStream>(big));
    source->SetPosition(500);
    TOwned<TMemoryStream> dest(Create<TMemoryStream>());
    EXPECT_EQ(dest->CopyFrom(source.get(), 0), 100000);
    EXPECT_EQ(std::memcmp(dest->Memory(), big.data(), big.size()), 0);

    source->SetPosition(10);
    dest->Clear();
    EXPECT_EQ(dest->CopyFrom(source.get(), 5), 5);
    EXPECT_EQ(std::string(static_cast<char*>(dest->Memory()), 5), big.substr(10, 5));
    source->SetPosition(big.size() - 2);
    EXPECT_THROW(dest->CopyFrom(source.get(), 3), EReadError);
}

TEST(StringStream, WritingInsideTheDataOverwritesAndKeepsTheRest) {
    TOwned<TStringStream> stream(Create<TStringStream>("0123456789"));
    stream->SetPosition(2);
    stream->WriteString("ab");
    EXPECT_EQ(stream->DataString(), "01ab456789");
    stream->Seek(-1, soFromEnd);
    stream->WriteString("XYZ");
    EXPECT_EQ(stream->DataString(), "01ab45678XYZ");
}

TEST(StringStream, SeekStaysWithinTheDataAndReadStringStopsAtTheEnd) {
    TOwned<TStringStream> stream(Create<TStringStream>("abcdef"));
    EXPECT_EQ(stream->Seek(100, soFromBeginning), 6);
    EXPECT_EQ(stream->Seek(-100, soFromCurrent), 0);
    stream->SetPosition(4);
    EXPECT_EQ(stream->ReadString(10), "ef");
    EXPECT_EQ(stream->ReadString(10), "");
    stream->SetSize(3);
    EXPECT_EQ(stream->Position(), 3);
    EXPECT_EQ(stream->DataString(), "abc");
}
