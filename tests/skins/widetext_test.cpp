#include <gtest/gtest.h>

#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "classlib/windows/controls.h"
#include "skins/wsfiler.h"
#include "skins/wsplatform.h"
#include "skins/wstext.h"
#include "skins/wsutf7.h"
#include "tests/support/code_page.h"

namespace {

TEST(Utf7, KnownTexts) {
    EXPECT_EQ(WideStringToUTF7(L""), "");
    EXPECT_EQ(WideStringToUTF7(L"Hi"), "Hi");
    EXPECT_EQ(WideStringToUTF7(L"A+B"), "A+-B");
    EXPECT_EQ(WideStringToUTF7(L"Hi Mom -\u263A-!"), "Hi Mom -+Jjo--!");
    EXPECT_EQ(UTF7ToWideString("+-"), L"+");
    EXPECT_EQ(UTF7ToWideString("+AGE-"), L"a");
    EXPECT_EQ(UTF7ToWideString("+AGE"), L"a");
    EXPECT_EQ(UTF7ToWideString("Hi Mom -+Jjo--!"), L"Hi Mom -\u263A-!");
    const std::wstring mixed = L"Gr\u00FC\u00DFe \u20AC 100% +1 \U0001F600";
    EXPECT_EQ(UTF7ToWideString(WideStringToUTF7(mixed)), mixed);
}

TEST(Utf7, InvalidTexts) {
    for (const char* text : {"+ZZZ", "+", "+!", "ab\xE9"}) {
        try {
            UTF7ToWideString(text);
            ADD_FAILURE() << text;
        } catch (const EWsGeneralError& error) {
            EXPECT_STREQ(error.what(), "Invalid UTF7");
        }
    }
}

class TCaptioned : public TPersistent {
    VX_CLASS(TCaptioned, TPersistent)
public:
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& Value) { caption_ = Value; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& Value) { title_ = Value; }

protected:
    void DefineProperties(TFiler* Filer) override {
        inherited::DefineProperties(Filer);
        DefineWideProperties(Filer, this);
    }

private:
    std::wstring caption_ = L"kept";
    std::string title_;
};

[[maybe_unused]] const bool published = [] {
    TPublish<TCaptioned>()
        .Property("Caption", &TCaptioned::Caption, &TCaptioned::SetCaption)
        .Property("Title", &TCaptioned::Title, &TCaptioned::SetTitle);
    return true;
}();

TEST(WideFormProperties, OldCopiesAreReadAndDroppedEvenWhenDamaged) {
    TOwned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
    {
        TOwned<TWriter> writer = MakeOwned<TWriter>(stream.get());
        writer->WriteStr("CaptionW");
        writer->WriteString("new \xC3\xA4");
        writer->WriteStr("Caption_UTF7");
        writer->WriteString("+ZZZ");  // does not decode
        writer->WriteStr("CaptionW");
        writer->WriteInteger(42);  // not even text
        writer->WriteStr("Caption_UTF7");
        writer->WriteString("+AGE-");
        writer->WriteStr("Title");
        writer->WriteString("read after them");
        writer->WriteListEnd();
    }
    stream->SetPosition(0);
    TOwned<TCaptioned> object = MakeOwned<TCaptioned>();
    ReadObjectProperties(stream.get(), object.get());
    EXPECT_EQ(object->Caption(), L"kept");
    EXPECT_EQ(object->Title(), "read after them");
}

TEST(WideFormProperties, NeverWritten) {
    TOwned<TCaptioned> object = MakeOwned<TCaptioned>();
    TOwned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
    WriteObjectProperties(stream.get(), object.get());
    const std::string bytes(static_cast<const char*>(stream->Memory()),
                            static_cast<std::size_t>(stream->Size()));
    EXPECT_EQ(bytes.find("CaptionW"), std::string::npos);
    EXPECT_EQ(bytes.find("_UTF7"), std::string::npos);
    EXPECT_NE(bytes.find("Caption"), std::string::npos);
}

TEST(WideText, HotKeyFollowsTheAnsiCaptionAsTyped) {
    ExpectTheRunsCodePage();
    struct Case {
        std::string ansi;
        std::wstring wide;
        std::wstring expected;
    } cases[] = {
        {"&File", L"File", L"&File"},
        {"Fi&le", L"&File", L"Fi&le"},
        {"Save && E&xit", L"Save && Exit", L"Save && E&xit"},
        {"Plain", L"Pl&ain", L"Plain"},
        {"A&b&c", L"Abc", L"Ab&c"},
    };
    for (const Case& c : cases) {
        std::wstring wide = c.wide;
        SyncHotKeyPosition(c.ansi, wide);
        EXPECT_EQ(wide, c.expected) << c.ansi;
    }
    // Letters of the code page that take two bytes there count as one.
    for (const std::wstring letters : {L"\u65E5\u672C\u8A9E", L"Gr\u00FC\u00DFe"}) {
        if (ToWide(ToAnsi(letters)) != letters) continue;
        std::wstring wide = letters + L" Disk";
        SyncHotKeyPosition(ToAnsi(letters + L" &Disk"), wide);
        EXPECT_EQ(wide, letters + L" &Disk");
    }
    std::wstring other = L"Other";
    try {
        SyncHotKeyPosition("&File", other);
        ADD_FAILURE();
    } catch (const EWsInternalError& error) {
        EXPECT_STREQ(error.what(), "Internal Error: SyncHotKeyPosition Failed (\"&File\" <> \"Other\").");
    }
}

class TTextCounter : public TControl {
    VX_CLASS(TTextCounter, TControl)
public:
    explicit TTextCounter(TComponent* AOwner) : TControl(AOwner) {}
    int Changes = 0;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == CM_TEXTCHANGED) ++Changes;
        inherited::WndProc(Message);
    }
};

TEST(WideText, SettingTheSameTextTwiceNotifiesOnceAndKeepsItAsTyped) {
    ExpectTheRunsCodePage();
    TOwned<TTextCounter> control = MakeOwned<TTextCounter>(nullptr);
    WideSetText(control.get(), L"\u20AC 5");
    WideSetText(control.get(), L"\u20AC 5");
    EXPECT_EQ(control->Changes, 1);
    EXPECT_EQ(WideGetText(control.get()), L"\u20AC 5");
    WideSetHint(control.get(), L"short|long \u20AC");
    EXPECT_EQ(WideGetHint(control.get()), L"short|long \u20AC");
}

}  // namespace
