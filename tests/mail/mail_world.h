// A fixed world for message tests: the clock, the time zone, the boundary
// and Message-ID generator and the MIME type table are all pinned while a
// TFixedMailWorld lives. TTestMessage adds the HTML text and attachments
// that the application itself never makes.
#pragma once

#include <string>

#include "classlib/core/datetime.h"
#include "mail/mime_dates.h"
#include "mail/mime_message.h"
#include "mail/mime_names.h"
#include "mail/mime_random.h"

// Local time 2026-12-06 11:09:31, eight hours east of UTC, seed 12345: the
// generator then gives 62A6551D, 4A132196, 146983F3, 8DB963C4, ...
class TFixedMailWorld {
public:
    TFixedMailWorld()
        : clock_([] { return EncodeDateTime(2026, 12, 6, 11, 9, 31, 0); }),
          zone_(SetTimeZoneQuery(&EightHoursEast)),
          lookup_(SetMimeExtensionLookup(&BuiltInMimeExtension)) {
        SetMimeRandomSeed(12345);
    }
    ~TFixedMailWorld() {
        SetTimeZoneQuery(zone_);
        SetMimeExtensionLookup(lookup_);
    }
    TFixedMailWorld(const TFixedMailWorld&) = delete;
    TFixedMailWorld& operator=(const TFixedMailWorld&) = delete;

    static DWORD EightHoursEast(TIME_ZONE_INFORMATION* info) {
        *info = {};
        info->Bias = -480;
        return TIME_ZONE_ID_UNKNOWN;
    }

private:
    TClockOverride clock_;
    TTimeZoneQuery zone_;
    TMimeExtensionLookup lookup_;
};

class TTestMessage : public TMimeMessage {
    VX_CLASS(TTestMessage, TMimeMessage)
public:
    explicit TTestMessage(TComponent* AOwner) : TMimeMessage(AOwner) {}

    void SetTextHTML(const std::string& Text) {
        SetTextPart(Text, TextHTMLPartRef(), "text/html");
        TextHTML()->SetText(Text);
    }

    // A part with the bytes, encoded by AttachEncoding, handed to Normalize.
    TMailPart* AddAttachment(const std::string& FileName, const std::string& Bytes,
                             const std::string& ContentType, bool IsEmbedded = false) {
        TMailPart* part = Create<TMailPart>(this);
        part->SetOwnerMessage(this);
        SetStreamBytes(part->Decoded(), Bytes);
        part->Encode(AttachEncoding());
        if (!ContentType.empty()) part->SetLabelValue("Content-Type", ContentType);
        if (!FileName.empty())
            part->SetLabelParamValue("Content-Disposition", "filename", '"' + FileName + '"');
        part->SetEmbedded(IsEmbedded);
        AttachList()->Add(part);
        SetNeedNormalize(true);
        Normalize(0);
        return part;
    }

    void RereadParts() {
        SetNeedFindParts(true);
        FindParts();
    }
};

inline std::string BodyText(TMailPart* part) {
    return TMailPart::StreamBytes(part->Body());
}
inline std::string DecodedText(TMailPart* part) {
    return TMailPart::StreamBytes(part->Decoded());
}
