#include "notify/zklogfile.h"

#include <utility>

#include "classlib/core/files.h"
#include "classlib/core/streams.h"
#include "classlib/core/strings.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "notify/zklogform.h"

std::string LogRecordLine(const TZkLogRecord& Record) {
    std::string line = "[" + Record.Time + "]";
    for (char c : Record.Title) {
        line += c;
        if (c == '>') line += '>';
    }
    return line + ">" + Record.Description;
}

bool ParseLogLine(const std::string& Line, TZkLogRecord& Record) {
    const size_t open = Line.find('[');
    if (open == std::string::npos) return false;
    const size_t close = Line.find(']', open + 1);
    if (close == std::string::npos) return false;
    Record.Time = Line.substr(open + 1, close - open - 1);
    const std::string rest = Line.substr(close + 1);
    // Doubled ">" belong to the title; the first single one ends it.
    size_t separator = std::string::npos;
    for (size_t i = 0; i < rest.size();) {
        if (rest[i] != '>') {
            ++i;
        } else if (i + 1 < rest.size() && rest[i + 1] == '>') {
            i += 2;
        } else {
            separator = i;
            break;
        }
    }
    const std::string title = rest.substr(0, separator);
    Record.Title.clear();
    for (size_t i = 0; i < title.size(); ++i) {
        Record.Title += title[i];
        if (title[i] == '>' && i + 1 < title.size() && title[i + 1] == '>') ++i;
    }
    Record.Description = separator == std::string::npos ? std::string() : rest.substr(separator + 1);
    return true;
}

namespace {
// Holds AutoSave off for a scope.
class TAutoSaveHold {
public:
    explicit TAutoSaveHold(bool& Flag) : flag_(Flag), saved_(std::exchange(Flag, false)) {}
    ~TAutoSaveHold() { flag_ = saved_; }
    TAutoSaveHold(const TAutoSaveHold&) = delete;
    TAutoSaveHold& operator=(const TAutoSaveHold&) = delete;

private:
    bool& flag_;
    bool saved_;
};
}  // namespace

TZkLogFile::TZkLogFile(TComponent* AOwner) : TZkComponent(AOwner) {}

void TZkLogFile::BeforeDestruction() {
    try {
        DoAutoSave();
    } catch (...) {
        // The component goes away anyway; the failure is reported, not thrown
        // out of a destruction.
        HandleCallbackException(this);
    }
    inherited::BeforeDestruction();
}

void TZkLogFile::Add(const std::string& Time, const std::string& Title, const std::string& Description) {
    if (!active_) return;
    records_.push_back({Time, Title, Description});
    ApplySizeLimit();
    DoAutoSave();
}

void TZkLogFile::Clear() {
    records_.clear();
    DoAutoSave();
}

void TZkLogFile::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    records_.erase(records_.begin() + Index);
    DoAutoSave();
}

void TZkLogFile::DoAutoSave() {
    if (autoSave_) SaveToFile(fileName_);
}

void TZkLogFile::SetAutoSave(bool Value) {
    autoSave_ = Value && !fileName_.empty();
}

void TZkLogFile::SetFileName(const std::string& Value) {
    fileName_ = Value;
    if (!Value.empty() && FileExists(Value)) LoadFromFile(Value);
}

void TZkLogFile::ApplySizeLimit() {
    if (sizeLimit_ == 0) return;
    {
        TAutoSaveHold hold(autoSave_);
        size_t sum = 0;
        size_t keepFrom = 0;
        for (size_t i = records_.size(); i-- > 0;) {
            sum += LogRecordLine(records_[i]).size() + 2;
            if (sum >= sizeLimit_) {
                keepFrom = i;
                break;
            }
        }
        records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(keepFrom));
    }
    DoAutoSave();
}

void TZkLogFile::LoadFromFile(const std::string& Name) {
    TOwned<TFileStream> stream(Create<TFileStream>(Name, fmOpenRead | fmShareDenyWrite));
    LoadFromStream(stream.get());
}

void TZkLogFile::LoadFromStream(TStream* Stream) {
    {
        TAutoSaveHold hold(autoSave_);
        Clear();
    }
    TOwned<TStringList> lines = MakeOwned<TStringList>();
    lines->LoadFromStream(Stream);
    for (int i = 0; i < lines->Count(); ++i) {
        TZkLogRecord record;
        if (ParseLogLine(lines->Strings(i), record)) records_.push_back(std::move(record));
    }
}

void TZkLogFile::SaveToFile(const std::string& Name) {
    TOwned<TFileStream> stream(Create<TFileStream>(Name, fmCreate));
    SaveToStream(stream.get());
}

void TZkLogFile::SaveToStream(TStream* Stream) {
    std::string text;
    for (const auto& record : records_) text += LogRecordLine(record) + "\r\n";
    if (!text.empty()) Stream->WriteBuffer(text.data(), static_cast<int>(text.size()));
}

void TZkLogFile::ShowLog(const std::string& Title) {
    TOwned<TFoLog> viewer(Create<TFoLog>(nullptr));
    viewer->SetCaption(Title);
    TListItems* items = viewer->ListView1->Items();
    items->BeginUpdate();
    try {
        for (const auto& record : records_) {
            TListItem* item = items->Add();
            item->SetCaption(record.Time);
            item->SubItems()->Add(record.Title);
            item->SubItems()->Add(record.Description);
        }
    } catch (...) {
        items->EndUpdate();
        throw;
    }
    items->EndUpdate();
    if (Assigned(OnShow)) OnShow(this);
    viewer->ShowModal();
    if (Assigned(OnClose)) OnClose(this);
}
