// `TZkLogFile`: an in-memory list of log records (time, title, description)
// with an optional size limit, saved to and loaded from a text file with one
// record per line, and shown in the modal viewer `TFoLog`.
//
// Line format: "[" Time "]" Title ">" Description CR LF, where every ">" of
// the title is doubled. A time holding "]", line breaks anywhere, or a
// description that begins with ">" (it reads back as part of the title) do
// not survive a save and load; files rely on the format, so it stays.
#pragma once

#include <string>
#include <vector>

#include "foundation/zkcomponent.h"

class TStream;

struct TZkLogRecord {
    std::string Time;
    std::string Title;
    std::string Description;
    friend bool operator==(const TZkLogRecord&, const TZkLogRecord&) = default;
};

// One record's line, without the line break.
std::string LogRecordLine(const TZkLogRecord& Record);
// False for a line that holds no record (no "[" or no "]" after it).
bool ParseLogLine(const std::string& Line, TZkLogRecord& Record);

class TZkLogFile : public TZkComponent {
    VX_CLASS(TZkLogFile, TZkComponent)
public:
    explicit TZkLogFile(TComponent* AOwner);
    // Saves a last time when AutoSave is on.
    void BeforeDestruction() override;

    // Records, oldest first.
    int Count() const { return static_cast<int>(records_.size()); }
    const TZkLogRecord& Records(int Index) const { return records_.at(static_cast<size_t>(Index)); }

    // Only while Active: appends, trims to SizeLimit, saves when AutoSave.
    void Add(const std::string& Time, const std::string& Title, const std::string& Description);
    void Clear();
    void Delete(int Index);

    // Raise the file stream's error (EFOpenError, EFCreateError) when the
    // file cannot be opened or made. Loading replaces the records.
    void LoadFromFile(const std::string& Name);
    void LoadFromStream(TStream* Stream);
    void SaveToFile(const std::string& Name);
    void SaveToStream(TStream* Stream);

    // Shows the records in a modal TFoLog captioned Title.
    void ShowLog(const std::string& Title);

    const std::string& FileName() const { return fileName_; }
    // A name of an existing file loads it at once.
    void SetFileName(const std::string& Value);
    bool Active() const { return active_; }
    void SetActive(bool Value) { active_ = Value; }
    bool AutoSave() const { return autoSave_; }
    // Stays off without a file name.
    void SetAutoSave(bool Value);
    // Bytes of file lines kept (0: no limit); the oldest records go first.
    unsigned SizeLimit() const { return sizeLimit_; }
    void SetSizeLimit(unsigned Value) { sizeLimit_ = Value; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

private:
    void DoAutoSave();
    void ApplySizeLimit();

    std::vector<TZkLogRecord> records_;
    std::string fileName_;
    bool active_ = true;
    bool autoSave_ = false;
    unsigned sizeLimit_ = 0;
};
