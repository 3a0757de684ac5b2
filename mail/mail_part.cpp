#include "mail/mail_part.h"

#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "mail/header_lines.h"
#include "mail/header_words.h"
#include "mail/mime_codecs.h"
#include "mail/mime_message.h"
#include "mail/mime_names.h"

namespace {

constexpr char kTransferEncoding[] = "Content-Transfer-Encoding";

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// Values written with quotes or apostrophes around them read without.
std::string Unquoted(std::string value) {
    if (value.size() > 2 && IsQuote(value.front()) && IsQuote(value.back()))
        return value.substr(1, value.size() - 2);
    return value;
}

// The lines of a body without their line ends, for the line-wise decoders.
template <class Visit>
void ForEachBodyLine(std::string_view body, Visit visit) {
    std::string line;
    int pos = 0;
    while (pos >= 0) {
        ReadLine(body, line, pos);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        visit(TrimSpace(line));
    }
}

}  // namespace

void CheckHeaderText(const std::string& Text) {
    for (char c : Text) {
        const auto code = static_cast<unsigned char>(c);
        if ((code < 0x20 && code != '\t') || code == 0x7F)
            throw Exception("Control character in mail header text: " + IntToHex(code, 2));
    }
}

// ---- THeaderLines -------------------------------------------------------------

void THeaderLines::Changed() {
    ++changeCount_;
    inherited::Changed();
}

// ---- TMailPart ----------------------------------------------------------------

TMailPart::TMailPart(TComponent* AOwner) : TComponent(AOwner) {
    header_ = Create<THeaderLines>();
    body_ = Create<TMemoryStream>();
    decoded_ = Create<TMemoryStream>();
    subPartList_ = Create<TMailPartList>();
}

void TMailPart::BeforeDestruction() {
    // A part freed on its own leaves its container; one freed with its
    // container is already out of the container's list.
    if (parentPart_ && !parentPart_->ComponentState().Contains(csDestroying)) Remove();
    inherited::BeforeDestruction();
}

TMailPart::~TMailPart() {
    std::vector<TMailPart*> children;
    for (int i = 0; i < subPartList_->Count(); ++i) children.push_back(subPartList_->GetItem(i));
    subPartList_->Clear();
    for (TMailPart* child : children) {
        child->parentPart_ = nullptr;
        child->Free();
    }
    header_->Free();
    body_->Free();
    decoded_->Free();
    subPartList_->Free();
}

std::string TMailPart::GetLabelValue(const std::string& Name) const {
    const int index = FindLabelLine(header_, Name + ":", 0);
    if (index < 0) return {};
    return Unquoted(TrimSpace(GetHeaderLineValue(header_->Strings(index))));
}

std::string TMailPart::GetLabelParamValue(const std::string& Name, const std::string& Param) const {
    const int index = FindLabelLine(header_, Name + ":", 0);
    if (index < 0) return {};
    return Unquoted(TrimSpace(GetHeaderParamValue(header_->Strings(index), Param)));
}

void TMailPart::SetLabelValue(const std::string& Name, const std::string& Value) {
    CheckHeaderText(Name);
    CheckHeaderText(Value);
    int index = FindLabelLine(header_, Name + ":", 0);
    if (Value.empty()) {
        if (index >= 0) header_->Delete(index);
        return;
    }
    if (index < 0) index = header_->Add(Name + ": ");
    header_->SetStrings(index, SetHeaderLineValue(header_->Strings(index), Value));
}

void TMailPart::SetLabelParamValue(const std::string& Name, const std::string& Param,
                                   const std::string& Value) {
    CheckHeaderText(Name);
    CheckHeaderText(Param);
    CheckHeaderText(Value);
    int index = FindLabelLine(header_, Name + ":", 0);
    if (index < 0) index = header_->Add(Name + ": ");
    header_->SetStrings(index, SetHeaderParamValue(header_->Strings(index), Param, Value));
}

bool TMailPart::LabelExists(const std::string& Name) const {
    return FindLabelLine(header_, Name + ":", 0) >= 0;
}

bool TMailPart::LabelParamExists(const std::string& Name, const std::string& Param) const {
    return !GetLabelParamValue(Name, Param).empty();
}

void TMailPart::Remove() {
    if (!parentPart_ || this == static_cast<TMailPart*>(ownerMessage_)) return;
    if (parentPart_->SubPartList()->Remove(this) >= 0) parentPart_ = nullptr;
}

std::string TMailPart::GetSource() const {
    return FoldHeaderLines(header_->Text()) + "\r\n" + StreamBytes(body_);
}

std::string TMailPart::GetContentType() const {
    return LowerCase(GetLabelValue("Content-Type"));
}

std::string TMailPart::GetBoundary() const {
    return GetLabelParamValue("Content-Type", "boundary");
}

std::string TMailPart::GetAttachName() const {
    const bool typed = LabelExists("Content-Type");
    std::string name = GetLabelValue("X-MimeMail-Attachment");
    if (name.empty()) name = GetLabelParamValue("Content-Type", "name");
    if (name.empty()) name = GetLabelParamValue("Content-Disposition", "filename");
    if (name.empty()) name = GetLabelValue("Content-ID");
    if (name.empty()) name = GetLabelValue("Content-Location");
    if (name.empty())
        name = typed ? GetLabelValue("Content-Type") + MimeTypeToExtension(GetContentType()) : "unknown";
    name = DecodeHeaderWords(name);
    if (name.find('.') == std::string::npos && typed) name += MimeTypeToExtension(GetContentType());
    return SanitizeFileName(name);
}

bool TMailPart::Decode() {
    if (isDecoded_) return true;
    isDecoded_ = true;
    if (body_->Size() == 0) return true;
    const std::string_view body(static_cast<const char*>(body_->Memory()),
                                static_cast<size_t>(body_->Size()));
    const std::string encoding = LowerCase(GetLabelValue(kTransferEncoding));
    if (encoding == "quoted-printable") {
        SetStreamBytes(decoded_, DecodeQuotedPrintable(body));
    } else if (encoding == "base64") {
        DecodeBase64Lines(decoded_, body);
    } else if (encoding == "uucode" || encoding == "x-uuencode") {
        std::string bytes, line;
        ForEachBodyLine(body, [&](const std::string& text) {
            DecodeUULine(text, line);
            bytes += line;
        });
        SetStreamBytes(decoded_, bytes);
        EncodeBase64();  // from now on the part travels as base64
    } else {
        SetStreamBytes(decoded_, body);
    }
    return true;
}

void TMailPart::Encode(TEncodingType Encoding) {
    switch (Encoding) {
        case etBase64:
            EncodeBase64();
            break;
        case etQuotedPrintable:
            EncodeQuotedPrintable();
            break;
        case etNoEncoding:
            SetStreamBytes(body_, StreamBytes(decoded_));
            SetLabelValue(kTransferEncoding, "");
            break;
    }
}

void TMailPart::EncodeQuotedPrintable() {
    body_->Clear();
    SetLabelValue(kTransferEncoding, "quoted-printable");
    if (decoded_->Size() != 0) SetStreamBytes(body_, ::EncodeQuotedPrintable(StreamBytes(decoded_), false));
}

void TMailPart::EncodeBase64() {
    ::EncodeBase64(body_, decoded_);
    SetLabelValue(kTransferEncoding, "base64");
}

std::string TMailPart::StreamBytes(TMemoryStream* Stream) {
    const auto size = static_cast<size_t>(Stream->Size());
    if (size == 0) return {};
    return std::string(static_cast<const char*>(Stream->Memory()), size);
}

void TMailPart::SetStreamBytes(TMemoryStream* Stream, std::string_view Bytes) {
    Stream->Clear();
    if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
    Stream->SetPosition(0);
}
