// `TMailPart`: one MIME part, with its header lines, its body as sent, its
// decoded body and its child parts, read and edited through labels ("From",
// "Content-Type"). `TMailPartList` is the list of parts a container holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/core/component.h"
#include "classlib/core/lists.h"
#include "classlib/core/streams.h"
#include "classlib/core/strings.h"
#include "mail/mail_types.h"

class TMailPart;
class TMimeMessage;

class TMailPartList : public TList {
    VX_CLASS(TMailPartList, TList)
public:
    TMailPartList() = default;
    TMailPart* GetItem(int Index) const { return static_cast<TMailPart*>(Items(Index)); }
};

// The header lines of a part. Every edit moves `ChangeCount` on, so readers
// that keep what they parsed can tell whether it is still current.
class THeaderLines : public TStringList {
    VX_CLASS(THeaderLines, TStringList)
public:
    THeaderLines() = default;
    std::uint64_t ChangeCount() const { return changeCount_; }

protected:
    void Changed() override;

private:
    std::uint64_t changeCount_ = 0;
};

class TMailPart : public TComponent {
    VX_CLASS(TMailPart, TComponent)
public:
    explicit TMailPart(TComponent* AOwner);
    void BeforeDestruction() override;

    // One line per entry, in output order.
    THeaderLines* Header() const { return header_; }
    // The body as sent (transfer-encoded) and decoded.
    TMemoryStream* Body() const { return body_; }
    TMemoryStream* Decoded() const { return decoded_; }
    // The boundary of the container this part sits in.
    const std::string& ParentBoundary() const { return parentBoundary_; }
    void SetParentBoundary(const std::string& Value) { parentBoundary_ = Value; }
    TMimeMessage* OwnerMessage() const { return ownerMessage_; }
    void SetOwnerMessage(TMimeMessage* Value) { ownerMessage_ = Value; }
    TMailPartList* SubPartList() const { return subPartList_; }
    TMailPart* ParentPart() const { return parentPart_; }
    void SetParentPart(TMailPart* Value) { parentPart_ = Value; }
    bool IsDecoded() const { return isDecoded_; }
    void SetIsDecoded(bool Value) { isDecoded_ = Value; }
    // Part of the multipart/related container (referenced from the HTML text).
    bool Embedded() const { return embedded_; }
    void SetEmbedded(bool Value) { embedded_ = Value; }

    // Label access; a missing label or parameter reads as empty. Values are
    // refused (Exception) when they hold CR, LF or another control
    // character, which would start a header line of their own.
    std::string GetLabelValue(const std::string& Name) const;
    std::string GetLabelParamValue(const std::string& Name, const std::string& Param) const;
    // An empty Value deletes the label's first line.
    void SetLabelValue(const std::string& Name, const std::string& Value);
    void SetLabelParamValue(const std::string& Name, const std::string& Param, const std::string& Value);
    bool LabelExists(const std::string& Name) const;
    bool LabelParamExists(const std::string& Name, const std::string& Param) const;

    // Takes the part out of its parent's list (never the message itself).
    void Remove();
    // The exact text on the wire: folded header, CR LF, body.
    std::string GetSource() const;
    // The lower-cased type of "Content-Type", without parameters.
    std::string GetContentType() const;
    std::string GetBoundary() const;
    // The file name to save the part under: the first of the
    // "X-MimeMail-Attachment" value, the "name" and "filename" parameters,
    // "Content-ID", "Content-Location" and the type; words decoded, the
    // type's extension added when there is no ".", cleaned for a file system.
    std::string GetAttachName() const;

    // Fills Decoded from Body by "Content-Transfer-Encoding" once; always true.
    bool Decode();
    void Encode(TEncodingType Encoding);
    void EncodeQuotedPrintable();
    void EncodeBase64();

    // The bytes of a body stream as a string, and a stream replaced by bytes.
    static std::string StreamBytes(TMemoryStream* Stream);
    static void SetStreamBytes(TMemoryStream* Stream, std::string_view Bytes);

protected:
    ~TMailPart() override;

private:
    THeaderLines* header_ = nullptr;
    TMemoryStream* body_ = nullptr;
    TMemoryStream* decoded_ = nullptr;
    std::string parentBoundary_;
    TMimeMessage* ownerMessage_ = nullptr;
    TMailPartList* subPartList_ = nullptr;
    TMailPart* parentPart_ = nullptr;
    bool isDecoded_ = false;
    bool embedded_ = false;
};

// Raises Exception when Text holds a character that could end a header line.
void CheckHeaderText(const std::string& Text);
