// `TMimeMessage`: a whole mail message. It is the root part of its own part
// tree and adds the recipient lists, the header setters the application
// uses, and the building of the canonical MIME tree and the body text.
#pragma once

#include <string>

#include "classlib/core/datetime.h"
#include "mail/mail_part.h"
#include "mail/mail_recipients.h"
#include "mail/mail_types.h"

class TMimeMessage : public TMailPart {
    VX_CLASS(TMimeMessage, TMailPart)
public:
    explicit TMimeMessage(TComponent* AOwner);

    // Attachment and embedded parts (not owned by the list).
    TMailPartList* AttachList() const { return attachList_; }
    TStringList* TextPlain() const { return textPlain_; }
    TStringList* TextHTML() const { return textHTML_; }
    // The parts holding the texts and the multipart containers; null when
    // there is none, the message itself when it is that part.
    TMailPart* TextPlainPart() const { return textPlainPart_; }
    TMailPart* TextHTMLPart() const { return textHTMLPart_; }
    TMailPart* MixedPart() const { return mixedPart_; }
    TMailPart* RelatedPart() const { return relatedPart_; }
    TMailPart* AlternativePart() const { return alternativePart_; }
    // The innermost container of the last Normalize, where new texts go.
    TMailPart* CurrentContainer() const { return currentContainer_; }
    int AttachCounter() const { return attachCounter_; }

    TMailRecipients* To() const { return to_; }
    TMailRecipients* Cc() const { return cc_; }
    TMailRecipients* Bcc() const { return bcc_; }

    // Published settings.
    const std::string& Charset() const { return charset_; }
    void SetCharset(const std::string& Value) { charset_ = Value; }
    TEncodingType TextEncoding() const { return textEncoding_; }
    void SetTextEncoding(TEncodingType Value) { textEncoding_ = Value; }
    TEncodingType AttachEncoding() const { return attachEncoding_; }
    void SetAttachEncoding(TEncodingType Value) { attachEncoding_ = Value; }
    TEmbedMethod EmbedMethod() const { return embedMethod_; }
    void SetEmbedMethod(TEmbedMethod Value) { embedMethod_ = Value; }
    const std::string& ContentLocationBase() const { return contentLocationBase_; }
    void SetContentLocationBase(const std::string& Value) { contentLocationBase_ = Value; }
    TProgressEvent OnProgress;

    // The body text must be composed again (RebuildBody) before sending;
    // the tree must be normalised / its parts found again.
    bool NeedRebuild() const { return needRebuild_; }
    bool NeedNormalize() const { return needNormalize_; }
    bool NeedFindParts() const { return needFindParts_; }

    // Header setters; addresses refuse control characters, "<" and ">".
    // An empty Address deletes the "From" line.
    void SetFrom(const std::string& Name, const std::string& Address);
    // The first "From" line's display name (decoded) and address.
    void GetFrom(std::string& Name, std::string& Address) const;
    void SetSubject(const std::string& Subject);
    // "X-Priority" is Priority + 1.
    void SetPriority(int Priority);
    void SetDate(TDateTime DateTime);
    // "<yyyymmddhhnnss.HEX.HEX@Host>" from the clock and the generator.
    void SetMessageId(const std::string& Host);

    // The plain text of the message (line ends made CR LF).
    void SetTextPlain(const std::string& Text);
    // Kind 0: only when NeedNormalize; 2, 3, 4: always, counting one more
    // text, attachment or embedded part that the caller is about to add.
    void Normalize(int Kind);
    // Re-reads the part pointers from the tree when NeedFindParts.
    void FindParts();
    // Composes the body text when NeedRebuild.
    void RebuildBody();

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    ~TMimeMessage() override;

    // Puts Text into the part PartRef names (making it when missing) with
    // the given content type. Descendants reach the HTML text this way.
    void SetTextPart(const std::string& Text, TMailPart*& PartRef, const std::string& ContentType);
    TMailPart*& TextHTMLPartRef() { return textHTMLPart_; }
    void SetNeedNormalize(bool Value) { needNormalize_ = Value; }
    void SetNeedFindParts(bool Value) { needFindParts_ = Value; }

private:
    void MoveBodyToNewPart();
    TMailPart* NewContainer(TMailPart* Parent, const char* ContentType, const char* Suffix);
    void PlaceTextPart(TMailPart*& Part, const char* ContentType);
    void PlaceAttachment(int Index, TMailPart* Mixed, TMailPart* Related);
    void FindPartsIn(TMailPart* Part);
    void ClassifyPart(TMailPart* Part);
    bool DetectText(TMailPart* Part);

    TMailPartList* attachList_;
    TStringList* textPlain_;
    TStringList* textHTML_;
    TMailPart* textPlainPart_ = nullptr;
    TMailPart* textHTMLPart_ = nullptr;
    TMailPart* mixedPart_ = nullptr;
    TMailPart* relatedPart_ = nullptr;
    TMailPart* alternativePart_ = nullptr;
    TMailPart* currentContainer_ = nullptr;
    std::string charset_ = "iso-8859-1";
    int attachCounter_ = 0;
    TMailRecipients* to_;
    TMailRecipients* cc_;
    TMailRecipients* bcc_;
    TEncodingType textEncoding_ = etQuotedPrintable;
    TEncodingType attachEncoding_ = etBase64;
    TEmbedMethod embedMethod_ = emContentLocation;
    std::string contentLocationBase_ = "http://127.0.0.1/";
    bool needRebuild_ = false;
    bool needNormalize_ = false;
    bool needFindParts_ = false;
};
