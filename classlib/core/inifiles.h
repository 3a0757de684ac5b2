// INI settings: `TCustomIniFile` with its typed reads and writes, the
// in-memory `TMemIniFile` (written out by UpdateFile) and the file-backed
// `TIniFile` (read from the file and saved at once on every change).
//
// Both follow one set of rules:
// - "[name]" starts a section; "key=value" lines belong to the section above
//   them, with blanks around key and value dropped; section and key names are
//   compared without case (by the locale), the first of equal names wins.
// - Sections stay in the order they first appear; a new section goes to the
//   end, after a blank line; a new key goes after the section's last key.
// - Writing an existing key replaces its value in place.
// - Comments (";..."), blank lines and other lines without "=" are kept where
//   they are and written back unchanged, so a hand-edited file survives a
//   read-modify-write; they are not keys (ReadSection does not list them).
//   Lines above the first section are kept the same way.
// - ReadInteger takes decimal or hex ("$1F", "0x1F") and gives the default for
//   anything else; ReadBool is ReadInteger <> 0; WriteBool writes "1" or "0".
// - SectionExists is true only for a section that holds at least one key.
#pragma once

#include <memory>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"

class TStrings;

// A TIniFile change that could not be saved: "Unable to write to <file>".
VX_DECLARE_EXCEPTION(EIniFileException, Exception);

namespace classlib_detail {
class TIniText;
}

class TCustomIniFile : public TObject {
    VX_CLASS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    bool SectionExists(const std::string& section);
    bool ValueExists(const std::string& section, const std::string& ident);

    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue) = 0;
    virtual void WriteString(const std::string& section, const std::string& ident,
                             const std::string& value) = 0;
    virtual int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
    virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
    virtual bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
    virtual void WriteBool(const std::string& section, const std::string& ident, bool value);

    // Replace the list's content with the section's key names / the section
    // names / the section's "key=value" lines.
    virtual void ReadSection(const std::string& section, TStrings* strings) = 0;
    virtual void ReadSections(TStrings* strings) = 0;
    virtual void ReadSectionValues(const std::string& section, TStrings* strings) = 0;
    // Removes every section of that name with all its lines.
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    // Makes the file hold what the object holds.
    virtual void UpdateFile() = 0;

protected:
    ~TCustomIniFile() override = default;

    std::string fileName_;
};

// The whole INI text in memory. Created from a file name, it loads the file
// when it exists; nothing is written until UpdateFile.
class TMemIniFile : public TCustomIniFile {
    VX_CLASS(TMemIniFile, TCustomIniFile)
public:
    explicit TMemIniFile(const std::string& fileName = {});

    // Appends the INI text, one line per entry, to `list` (which is not
    // cleared first).
    void GetStrings(TStrings* list);
    // Replaces the content with the INI text in `list`.
    void SetStrings(TStrings* list);
    void Clear();
    // Takes a new file name; with `reload`, the content becomes that file's
    // (empty when it does not exist).
    void Rename(const std::string& fileName, bool reload);

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const std::string& section, TStrings* strings) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    // Writes the text to FileName (EFCreateError when it cannot).
    void UpdateFile() override;

protected:
    ~TMemIniFile() override;

private:
    void LoadValues();

    std::unique_ptr<classlib_detail::TIniText> text_;
};

// An INI file on disk: every read sees the file as it is now and every change
// is saved at once (EIniFileException when that fails; a key that cannot be
// deleted is left quietly, as the class library does). A name without a
// folder is taken from the current folder. UpdateFile has nothing left to do.
class TIniFile : public TCustomIniFile {
    VX_CLASS(TIniFile, TCustomIniFile)
public:
    explicit TIniFile(const std::string& fileName);

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const std::string& section, TStrings* strings) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override {}

protected:
    ~TIniFile() override = default;

private:
    // The file's content now: empty when it does not exist; an unreadable
    // file reads as empty, but raises EIniFileException before a change.
    std::unique_ptr<classlib_detail::TIniText> Load(bool forChange) const;
    void Save(const classlib_detail::TIniText& text) const;
};
