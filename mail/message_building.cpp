// How a message turns its texts and attachments into the canonical MIME tree
// (mixed > related > alternative > leaves, each level only when needed) and
// then into the body text that is sent.
#include <vector>

#include "classlib/core/text.h"
#include "mail/header_lines.h"
#include "mail/header_words.h"
#include "mail/mime_message.h"
#include "mail/mime_names.h"
#include "mail/mime_random.h"

namespace {

constexpr char kPreamble[] = "This is a multipart message in mime format.\r\n";
constexpr char kMailer[] = "MimeMail 1.10";
constexpr char kAttachmentLabel[] = "X-MimeMail-Attachment";

std::string WithCRLF(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool StartsWithText(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(std::string_view(text).substr(0, prefix.size()), prefix);
}

void CopyBytes(TMemoryStream* dest, TMemoryStream* source) {
    TMailPart::SetStreamBytes(dest, TMailPart::StreamBytes(source));
}

void SetContentLength(TMailPart* part) {
    part->SetLabelValue("Content-Length", IntToStr(part->Body()->Size()));
}

void FreeChildren(TMailPart* part) {
    while (part->SubPartList()->Count() > 0) part->SubPartList()->GetItem(0)->Free();
}

// Takes the part out of wherever it sits and appends it to Container.
void PlaceIn(TMailPart* part, TMailPart* container) {
    part->Remove();
    part->SetParentPart(container);
    part->SetParentBoundary(container->GetBoundary());
    container->SubPartList()->Add(part);
}

void ComposeParts(TMailPart* part, std::string& out) {
    TMailPartList* children = part->SubPartList();
    for (int i = 0; i < children->Count(); ++i) {
        TMailPart* child = children->GetItem(i);
        out += "\r\n--";
        out += child->ParentBoundary();
        out += "\r\n";
        for (int k = 0; k < child->Header()->Count(); ++k) {
            const std::string line = child->Header()->Strings(k);
            if (line.empty()) continue;
            out += line;
            out += "\r\n";
        }
        out += "\r\n";
        if (child->SubPartList()->Count() == 0)
            out += TMailPart::StreamBytes(child->Body());
        else
            ComposeParts(child, out);
    }
    if (children->Count() > 0) {
        out += "\r\n--";
        out += children->GetItem(0)->ParentBoundary();
        out += "--\r\n";
    }
}

}  // namespace

void TMimeMessage::SetTextPlain(const std::string& Text) {
    SetTextPart(Text, textPlainPart_, "text/plain");
    textPlain_->SetText(Text);
}

void TMimeMessage::SetTextPart(const std::string& Text, TMailPart*& PartRef, const std::string& ContentType) {
    Normalize(PartRef ? 0 : 2);
    const std::string text = WithCRLF(Text);
    if (!PartRef) {
        if (currentContainer_) {
            TMailPart* part = Create<TMailPart>(this);
            part->SetParentPart(currentContainer_);
            part->SetOwnerMessage(OwnerMessage());
            part->SetParentBoundary(currentContainer_->GetBoundary());
            TMailPartList* children = currentContainer_->SubPartList();
            if (ContentType == "text/plain")
                children->Insert(0, part);
            else if (ContentType == "text/html")
                children->Insert(
                    children->Count() > 0 && children->GetItem(0)->GetContentType() == "text/plain" ? 1 : 0,
                    part);
            else
                children->Add(part);
            PartRef = part;
        } else {
            PartRef = this;
        }
    }
    SetStreamBytes(PartRef->Decoded(), text);
    PartRef->Encode(textEncoding_);
    PartRef->SetLabelValue("Content-Type", ContentType);
    PartRef->SetLabelParamValue("Content-Type", "charset", '"' + charset_ + '"');
    PartRef->SetLabelValue("Content-Disposition", "inline");
    SetContentLength(PartRef);
    needRebuild_ = true;
}

void TMimeMessage::Normalize(int Kind) {
    if (Kind == 0 && !needNormalize_) return;
    FindParts();
    needRebuild_ = true;
    needNormalize_ = false;
    attachCounter_ = 0;

    int texts = Kind == 2 ? 1 : 0;
    int attachments = Kind == 3 ? 1 : 0;
    int embedded = Kind == 4 ? 1 : 0;
    if (textPlainPart_) ++texts;
    if (textHTMLPart_) ++texts;
    for (int i = 0; i < attachList_->Count(); ++i) {
        if (attachList_->GetItem(i)->Embedded())
            ++embedded;
        else
            ++attachments;
    }

    if (Body()->Size() != 0) MoveBodyToNewPart();
    attachList_->Remove(this);

    for (const char* label : {"Content-Type", "Content-Transfer-Encoding", "Content-Disposition",
                              "Content-ID", "Content-Location", "Content-Length"})
        SetLabelValue(label, "");
    SetLabelValue("Mime-Version", "1.0");
    SetLabelValue("X-Mailer", kMailer);
    SetLabelValue(kAttachmentLabel, "");

    TMailPart* const oldMixed = mixedPart_;
    TMailPart* const oldRelated = relatedPart_;
    TMailPart* const oldAlternative = alternativePart_;
    TMailPart* mixed = nullptr;
    TMailPart* related = nullptr;
    TMailPart* alternative = nullptr;
    currentContainer_ = nullptr;
    if (attachments > 1 || (attachments > 0 && texts > 0) || (attachments > 0 && embedded > 0))
        currentContainer_ = mixed = NewContainer(nullptr, "multipart/mixed", "_mixed");
    if (embedded > 0) currentContainer_ = related = NewContainer(mixed, "multipart/related", "_related");
    if (texts > 1)
        currentContainer_ = alternative =
            NewContainer(currentContainer_, "multipart/alternative", "_alternative");

    PlaceTextPart(textPlainPart_, "text/plain");
    PlaceTextPart(textHTMLPart_, "text/html");
    for (int i = 0; i < attachList_->Count(); ++i) PlaceAttachment(i, mixed, related);

    // Containers of the old tree that are parts of their own go; what they
    // still hold was neither text nor attachment.
    for (TMailPart* old : {oldAlternative, oldRelated, oldMixed}) {
        if (!old || old == this || old == mixed || old == related || old == alternative) continue;
        old->Remove();
        old->Free();
    }
    mixedPart_ = mixed;
    relatedPart_ = related;
    alternativePart_ = alternative;
}

// The root's body and content lines move to a new part, which takes over
// whatever role the root played.
void TMimeMessage::MoveBodyToNewPart() {
    TMailPart* part = Create<TMailPart>(this);
    part->SetOwnerMessage(this);
    CopyBytes(part->Body(), Body());
    for (int i = 0; i < Header()->Count(); ++i) {
        const std::string line = Header()->Strings(i);
        if (StartsWithText(line, "Content-")) part->Header()->Add(line);
    }
    Body()->Clear();
    if (textPlainPart_ == this)
        textPlainPart_ = part;
    else if (textHTMLPart_ == this)
        textHTMLPart_ = part;
    else if (mixedPart_ == this)
        mixedPart_ = part;
    else if (relatedPart_ == this)
        relatedPart_ = part;
    else if (alternativePart_ == this)
        alternativePart_ = part;
    else if (SubPartList()->Count() == 0)
        attachList_->Add(part);
    else
        part->Free();
}

// A container: the root itself when Parent is null, else a new part
// appended to Parent.
TMailPart* TMimeMessage::NewContainer(TMailPart* Parent, const char* ContentType, const char* Suffix) {
    TMailPart* container = this;
    if (Parent) {
        container = Create<TMailPart>(this);
        container->SetOwnerMessage(this);
        PlaceIn(container, Parent);
    }
    container->SetLabelValue("Content-Type", ContentType);
    container->SetLabelParamValue("Content-Type", "boundary", '"' + NewBoundary() + Suffix + '"');
    return container;
}

void TMimeMessage::PlaceTextPart(TMailPart*& Part, const char* ContentType) {
    if (!Part) return;
    if (currentContainer_) {
        if (Part == this) {
            // The root held this text (with an empty body) and is now a
            // container: the text needs a part of its own.
            TMailPart* part = Create<TMailPart>(this);
            part->SetOwnerMessage(this);
            CopyBytes(part->Decoded(), Decoded());
            part->SetIsDecoded(true);
            part->SetLabelParamValue("Content-Type", "charset", '"' + charset_ + '"');
            Part = part;
        }
        Part->Remove();
        Part->SetParentPart(currentContainer_);
        Part->SetParentBoundary(currentContainer_->GetBoundary());
        Part->SetLabelValue("Content-Type", ContentType);
        Part->SetLabelValue("Content-Disposition", "inline");
        Part->Decode();
        Part->Encode(textEncoding_);
        SetContentLength(Part);
        FreeChildren(Part);
        currentContainer_->SubPartList()->Add(Part);
        return;
    }
    // A message that is just this text: the root becomes the text part.
    const std::string charset = Part->GetLabelParamValue("Content-Type", "charset");
    SetLabelValue("Content-Type", ContentType);
    // The root's content lines were cleared: keep the text's character set.
    if (!charset.empty()) SetLabelParamValue("Content-Type", "charset", '"' + charset + '"');
    SetLabelValue("Content-Disposition", "inline");
    Part->Decode();
    if (Part != this) CopyBytes(Decoded(), Part->Decoded());
    Encode(textEncoding_);
    if (Part != this) {
        TMailPart* old = Part;
        old->Remove();
        old->Free();
    }
    Part = this;
}

void TMimeMessage::PlaceAttachment(int Index, TMailPart* Mixed, TMailPart* Related) {
    TMailPart* part = attachList_->GetItem(Index);
    part->Remove();
    if (!part->LabelExists("Content-Type")) part->SetLabelValue("Content-Type", "application/octet-stream");
    std::string name = part->GetAttachName();
    if (name.empty()) {
        name = "file_" + IntToStr(attachCounter_) + MimeTypeToExtension(part->GetContentType());
        ++attachCounter_;
    }
    const std::string quotedName = '"' + EncodeHeaderWords(name, charset_) + '"';
    part->SetLabelValue(kAttachmentLabel, quotedName);
    if (part->Embedded() && Related) {
        part->SetLabelParamValue(kAttachmentLabel, "embedded", "yes");
        if (embedMethod_ == emContentID && !part->LabelExists("Content-ID"))
            part->SetLabelValue("Content-ID", '<' + name + '>');
        if (embedMethod_ == emContentLocation)
            part->SetLabelValue("Content-Location", contentLocationBase_ + name);
        part->SetLabelValue("Content-Disposition", "inline");
        PlaceIn(part, Related);
        return;
    }
    part->SetLabelParamValue(kAttachmentLabel, "embedded", "no");
    if (!part->LabelParamExists("Content-Type", "name"))
        part->SetLabelParamValue("Content-Type", "name", quotedName);
    if (!part->LabelParamExists("Content-Disposition", "filename"))
        part->SetLabelParamValue("Content-Disposition", "filename", quotedName);
    if (Mixed) {
        part->SetLabelValue("Content-Disposition", "attachment");
        PlaceIn(part, Mixed);
        return;
    }
    // A message that is one attachment: the root carries it.
    for (const char* prefix : {"Content-", "X-MimeMail-"})
        for (int i = 0; i < part->Header()->Count(); ++i) {
            const std::string line = part->Header()->Strings(i);
            if (StartsWithText(line, prefix)) Header()->Add(line);
        }
    part->Decode();
    CopyBytes(Decoded(), part->Decoded());
    Encode(etBase64);
    attachList_->SetItems(Index, this);
    part->Free();
}

void TMimeMessage::FindParts() {
    if (!needFindParts_) return;
    attachList_->Clear();
    textPlain_->Clear();
    textHTML_->Clear();
    textPlainPart_ = textHTMLPart_ = mixedPart_ = relatedPart_ = alternativePart_ = nullptr;
    needFindParts_ = false;
    FindPartsIn(this);
}

void TMimeMessage::FindPartsIn(TMailPart* Part) {
    ClassifyPart(Part);
    for (int i = 0; i < Part->SubPartList()->Count(); ++i) FindPartsIn(Part->SubPartList()->GetItem(i));
}

void TMimeMessage::ClassifyPart(TMailPart* Part) {
    const std::string type = Part->GetContentType();
    const bool leaf = Part->SubPartList()->Count() == 0;
    TMailPart* parent = Part->ParentPart();
    if (!mixedPart_ && type == "multipart/mixed") {
        mixedPart_ = Part;
        return;
    }
    if (!relatedPart_ && type == "multipart/related") {
        relatedPart_ = Part;
        return;
    }
    if (!alternativePart_ && type == "multipart/alternative") {
        alternativePart_ = Part;
        return;
    }
    if (Part == this && leaf && (type.starts_with("text/") || type == "text") && DetectText(Part)) return;
    if (parent &&
        ((parent == mixedPart_ && !alternativePart_) || parent == relatedPart_ ||
         parent == alternativePart_) &&
        DetectText(Part))
        return;
    if (leaf) {
        Part->SetEmbedded(parent && parent == relatedPart_);
        attachList_->Add(Part);
    }
}

bool TMimeMessage::DetectText(TMailPart* Part) {
    const std::string type = Part->GetContentType();
    bool taken = false;
    if (!textPlainPart_ && (type == "text/plain" || type == "text")) {
        Part->Decode();
        if (Part->Decoded()->Size() != 0) {
            textPlainPart_ = Part;
            textPlain_->SetText(StreamBytes(Part->Decoded()));
            taken = true;
        }
    }
    if (!textHTMLPart_ && type == "text/html") {
        Part->Decode();
        if (Part->Decoded()->Size() != 0) {
            textHTMLPart_ = Part;
            textHTML_->SetText(StreamBytes(Part->Decoded()));
            taken = true;
        }
    }
    return taken;
}

void TMimeMessage::RebuildBody() {
    if (!needRebuild_) return;
    if (SubPartList()->Count() > 0) {
        std::string text = kPreamble;
        ComposeParts(this, text);
        SetStreamBytes(Body(), text);
    }
    SetContentLength(this);
    needRebuild_ = false;
}
