// `TScVersionInfo`: the ten standard text fields of a program file's version
// resource (company, description, versions, names, copyright and so on), read
// when the path is set; "Value Not Available" in each when the file has none.
#pragma once

#include <array>
#include <string>

#include "classlib/core/component.h"

enum TScVersionField {
    vfCompanyName,
    vfFileDescription,
    vfFileVersion,
    vfInternalName,
    vfLegalCopyright,
    vfLegalTrademarks,
    vfOriginalFilename,
    vfProductName,
    vfProductVersion,
    vfComments
};
constexpr int ScVersionFieldCount = vfComments + 1;

class TScVersionInfo : public TComponent {
    VX_CLASS(TScVersionInfo, TComponent)
public:
    explicit TScVersionInfo(TComponent* AOwner);

    // Empty means the running program's own file.
    const std::string& FilePath() const { return filePath_; }
    // A different path is stored and read at once (unless loading).
    virtual void SetFilePath(const std::string& Value);
    // Field Index (0..9); "" outside that range.
    std::string GetInfo(int Index) const;
    // The file had a version resource that could be read.
    bool Available() const { return available_; }

    void LoadVersionInfo();
    void Loaded() override;

private:
    std::string filePath_;
    // What the version services are given: the program's own file by its
    // wide name, so that a folder outside the code page still finds it.
    std::wstring widePath_;
    std::array<std::string, ScVersionFieldCount> fields_;
    bool available_ = false;
};
