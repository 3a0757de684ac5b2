// String lists: the abstract `TStrings` (lines with attached objects, name=value
// pairs, Text/CommaText/DelimitedText, files and streams) and `TStringList`
// (sorted or not, duplicates rules, case sensitivity, change events).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/delegate.h"
#include "classlib/core/object.h"

class TStream;

class TStrings : public TPersistent {
    VX_CLASS(TStrings, TPersistent)
public:
    // Lines and their objects. Index errors raise EStringListError
    // "List index out of bounds (%d)".
    virtual int Count() const = 0;
    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, const std::string& text) { Put(index, text); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    virtual int Add(const std::string& text);
    virtual int AddObject(const std::string& text, TObject* object);
    void Append(const std::string& text) { Add(text); }
    virtual void AddStrings(TStrings* strings);
    virtual void Insert(int index, const std::string& text) = 0;
    void InsertObject(int index, const std::string& text, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    virtual int IndexOf(const std::string& text) const;
    int IndexOfName(const std::string& name) const;
    int IndexOfObject(const TObject* object) const;
    // Same count and the same lines in the same order (objects not compared).
    bool Equals(const TStrings* strings) const;

    void Assign(TPersistent* source) override;

    // name=value lines. Names(i) is "" for a line without the separator;
    // SetValues with an empty value deletes the line.
    std::string Names(int index) const;
    std::string Values(const std::string& name) const;
    void SetValues(const std::string& name, const std::string& value);
    std::string ValueFromIndex(int index) const;
    void SetValueFromIndex(int index, const std::string& value);
    char NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(char separator) { nameValueSeparator_ = separator; }

    // Every line followed by CR LF. Setting splits at CR LF, LF or CR; a line
    // end at the very end adds no empty line.
    virtual std::string Text() const;
    virtual void SetText(const std::string& text);
    // Delimited with ',' and '"'; items with blanks, control characters,
    // quotes or commas are quoted.
    std::string CommaText() const;
    void SetCommaText(const std::string& text);
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& text);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char delimiter) { delimiter_ = delimiter; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char quote) { quoteChar_ = quote; }
    // When set, only the delimiter separates items (blanks do not).
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool strict) { strictDelimiter_ = strict; }

    // Files and streams hold the Text form; raise EFOpenError/EFCreateError
    // or stream errors.
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName) const;
    virtual void LoadFromStream(TStream* stream);
    virtual void SaveToStream(TStream* stream) const;

    // Nested updates; change events are held back until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    // Called with true when the outermost update begins, false when it ends.
    virtual void SetUpdateState(bool updating);
    // How this list compares lines (IndexOf, IndexOfName, Values): without
    // regard to case, by the locale.
    virtual int CompareStrings(const std::string& a, const std::string& b) const;
    [[noreturn]] void Error(const char* message, int data) const;

private:
    std::string ExtractName(const std::string& line) const;

    int updateCount_ = 0;
    char nameValueSeparator_ = '=';
    char delimiter_ = ',';
    char quoteChar_ = '"';
    bool strictDelimiter_ = false;
};

// The items of a delimited text as SetDelimitedText splits it (SetCommaText:
// ',' and '"', not strict), without a list object.
std::vector<std::string> SplitDelimitedText(const std::string& text, char delimiter = ',', char quote = '"',
                                            bool strict = false);

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = int (*)(TStringList* list, int index1, int index2);

class TStringList : public TStrings {
    VX_CLASS(TStringList, TStrings)
public:
    TStringList() = default;

    int Count() const override { return static_cast<int>(items_.size()); }
    int Add(const std::string& text) override;
    int AddObject(const std::string& text, TObject* object) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;
    int IndexOf(const std::string& text) const override;

    // Binary search of a sorted list: true and the first match's index, or
    // false and the index where the text would be inserted.
    virtual bool Find(const std::string& text, int& index) const;
    // Sorts an unsorted list (a sorted one already is).
    virtual void Sort();
    virtual void CustomSort(TStringListSortCompare compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    ~TStringList() override = default;

    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::string& a, const std::string& b) const override;
    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(int index, const std::string& text, TObject* object);

private:
    struct TStringItem {
        std::string String;
        TObject* Object = nullptr;
    };
    static int CompareItems(TStringList* list, int index1, int index2);
    void CheckIndex(int index) const;
    void SortItems(TStringListSortCompare compare);

    std::vector<TStringItem> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
