#include "classlib/core/strings.h"

#include <algorithm>
#include <exception>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"

namespace {
const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SSortedListError = "Operation not allowed on sorted list";
const char* const SDuplicateString = "String list does not allow duplicates";

// Holds a list in an update; the change events of the outermost EndUpdate
// still reach their handlers unless an exception is already on its way.
class TUpdateGuard {
public:
    explicit TUpdateGuard(TStrings& list) : list_(list), exceptions_(std::uncaught_exceptions()) {
        list_.BeginUpdate();
    }
    ~TUpdateGuard() noexcept(false) {
        if (std::uncaught_exceptions() == exceptions_) {
            list_.EndUpdate();
            return;
        }
        try {
            list_.EndUpdate();
        } catch (...) {
        }
    }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    TStrings& list_;
    int exceptions_;
};
}  // namespace

// ---- TStrings ----------------------------------------------------------------

void TStrings::Error(const char* message, int data) const {
    throw EStringListError(Format(message, data));
}

void TStrings::Put(int index, const std::string& text) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, text, object);
}

TObject* TStrings::GetObject(int) const {
    return nullptr;
}
void TStrings::PutObject(int, TObject*) {}
void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const {
    return AnsiCompareText(a, b);
}

int TStrings::Add(const std::string& text) {
    int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
    int index = Add(text);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(TStrings* strings) {
    TUpdateGuard update(*this);
    for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Strings(i), strings->Objects(i));
}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
    Insert(index, text);
    PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2) {
    TUpdateGuard update(*this);
    std::string text = Strings(index1);
    TObject* object = Objects(index1);
    SetStrings(index1, Strings(index2));
    SetObjects(index1, Objects(index2));
    SetStrings(index2, text);
    SetObjects(index2, object);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    TUpdateGuard update(*this);
    std::string text = Get(curIndex);
    TObject* object = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, text, object);
}

int TStrings::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), text) == 0) return i;
    return -1;
}

std::string TStrings::ExtractName(const std::string& line) const {
    std::size_t at = line.find(nameValueSeparator_);
    return at == std::string::npos ? std::string() : line.substr(0, at);
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        std::string line = Get(i);
        std::size_t at = line.find(nameValueSeparator_);
        if (at != std::string::npos && CompareStrings(line.substr(0, at), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

bool TStrings::Equals(const TStrings* strings) const {
    if (Count() != strings->Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != strings->Get(i)) return false;
    return true;
}

void TStrings::Assign(TPersistent* source) {
    if (source && source->InheritsFrom(TStrings::ClassInfo())) {
        TStrings* strings = static_cast<TStrings*>(source);
        if (strings == this) return;
        TUpdateGuard update(*this);
        Clear();
        nameValueSeparator_ = strings->nameValueSeparator_;
        delimiter_ = strings->delimiter_;
        quoteChar_ = strings->quoteChar_;
        strictDelimiter_ = strings->strictDelimiter_;
        AddStrings(strings);
        return;
    }
    inherited::Assign(source);
}

std::string TStrings::Names(int index) const {
    return ExtractName(Get(index));
}

std::string TStrings::Values(const std::string& name) const {
    int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(const std::string& name, const std::string& value) {
    int index = IndexOfName(name);
    if (!value.empty()) {
        if (index < 0) index = Add(std::string());
        Put(index, name + nameValueSeparator_ + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

std::string TStrings::ValueFromIndex(int index) const {
    std::string line = Get(index);
    std::size_t at = line.find(nameValueSeparator_);
    return at == std::string::npos ? std::string() : line.substr(at + 1);
}

void TStrings::SetValueFromIndex(int index, const std::string& value) {
    if (!value.empty()) {
        if (index < 0) index = Add(std::string());
        Put(index, Names(index) + nameValueSeparator_ + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text) {
    TUpdateGuard update(*this);
    Clear();
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string::npos) end = text.size();
        Add(text.substr(i, end - i));
        i = end;
        if (i < text.size() && text[i] == '\r') {
            if (++i < text.size() && text[i] == '\n') ++i;
        } else if (i < text.size()) {
            ++i;
        }
    }
}

namespace {
// Outside quotes, the delimiter and (unless strict) blanks and control
// characters part items; such items, empty ones and those holding the quote
// are written quoted.
std::string JoinDelimited(const TStrings& list, char delimiter, char quote, bool strict) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i) {
        std::string item = list.Strings(i);
        bool quoted = item.empty();
        for (char c : item)
            if ((!strict && static_cast<unsigned char>(c) <= ' ') || c == '\0' || c == quote ||
                c == delimiter)
                quoted = true;
        if (i > 0) text += delimiter;
        text += quoted ? AnsiQuotedStr(item, quote) : item;
    }
    return text;
}

void SplitDelimited(TStrings& list, const std::string& text, char delimiter, char quote, bool strict) {
    TUpdateGuard update(list);
    list.Clear();
    for (const std::string& item : SplitDelimitedText(text, delimiter, quote, strict)) list.Add(item);
}
}  // namespace

std::vector<std::string> SplitDelimitedText(const std::string& text, char delimiter, char quote,
                                            bool strict) {
    auto isBlank = [strict](char c) { return !strict && static_cast<unsigned char>(c) <= ' '; };
    std::vector<std::string> items;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    while (i < n) {
        if (text[i] == quote) {
            items.push_back(AnsiExtractQuotedStr(text, i, quote));
        } else {
            std::size_t start = i;
            while (i < n && !isBlank(text[i]) && text[i] != delimiter) ++i;
            items.push_back(text.substr(start, i - start));
        }
        while (i < n && isBlank(text[i])) ++i;
        if (i < n && text[i] == delimiter) {
            ++i;
            // A delimiter at the very end stands before one more, empty item.
            if (i == n) items.emplace_back();
            while (i < n && isBlank(text[i])) ++i;
        }
    }
    return items;
}

std::string TStrings::CommaText() const {
    return JoinDelimited(*this, ',', '"', false);
}
void TStrings::SetCommaText(const std::string& text) {
    SplitDelimited(*this, text, ',', '"', false);
}
std::string TStrings::DelimitedText() const {
    return JoinDelimited(*this, delimiter_, quoteChar_, strictDelimiter_);
}
void TStrings::SetDelimitedText(const std::string& text) {
    SplitDelimited(*this, text, delimiter_, quoteChar_, strictDelimiter_);
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TOwned<TFileStream> stream(
        Create<TFileStream>(fileName, static_cast<unsigned short>(fmOpenRead | fmShareDenyWrite)));
    LoadFromStream(stream.get());
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TOwned<TFileStream> stream(Create<TFileStream>(fileName, fmCreate));
    SaveToStream(stream.get());
}

void TStrings::LoadFromStream(TStream* stream) {
    TUpdateGuard update(*this);
    std::int64_t size = stream->Size() - stream->Position();
    std::string text(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
    if (!text.empty()) stream->ReadBuffer(text.data(), static_cast<int>(text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream* stream) const {
    std::string text = Text();
    if (!text.empty()) stream->WriteBuffer(text.data(), static_cast<int>(text.size()));
}

void TStrings::BeginUpdate() {
    // The state changes before the count, so the list still sees itself
    // outside an update and reports that it is about to change.
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (--updateCount_ == 0) SetUpdateState(false);
}

// ---- TStringList -------------------------------------------------------------

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) Error(SListIndexError, index);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && Assigned(OnChanging)) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && Assigned(OnChange)) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].String;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].Object;
}

void TStringList::Put(int index, const std::string& text) {
    if (sorted_) Error(SSortedListError, 0);
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].String = text;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].Object = object;
    Changed();
}

int TStringList::Add(const std::string& text) {
    return AddObject(text, nullptr);
}

int TStringList::AddObject(const std::string& text, TObject* object) {
    int index;
    if (!sorted_) {
        index = Count();
    } else if (Find(text, index)) {
        switch (duplicates_) {
            case dupIgnore:
                return index;
            case dupError:
                Error(SDuplicateString, 0);
            case dupAccept:
                break;
        }
    }
    InsertItem(index, text, object);
    return index;
}

void TStringList::Insert(int index, const std::string& text) {
    if (sorted_) Error(SSortedListError, 0);
    if (index < 0 || index > Count()) Error(SListIndexError, index);
    InsertItem(index, text, nullptr);
}

void TStringList::InsertItem(int index, const std::string& text, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, TStringItem{text, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
    // Checked before anything moves: a sorted list refuses the insert, and
    // the line must not be lost on the way.
    if (curIndex == newIndex) return;
    if (sorted_) Error(SSortedListError, 0);
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    inherited::Move(curIndex, newIndex);
}

bool TStringList::Find(const std::string& text, int& index) const {
    int low = 0, high = Count() - 1;
    bool found = false;
    while (low <= high) {
        int middle = (low + high) / 2;
        int order = CompareStrings(items_[static_cast<std::size_t>(middle)].String, text);
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (order == 0) found = true;
        }
    }
    index = low;
    return found;
}

int TStringList::IndexOf(const std::string& text) const {
    if (!sorted_) return inherited::IndexOf(text);
    int index;
    return Find(text, index) ? index : -1;
}

void TStringList::SortItems(TStringListSortCompare compare) {
    if (Count() < 2) return;
    Changing();
    // The comparer works on indexes into the live list, so sort a permutation
    // and read the items through it.
    std::vector<int> order(items_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<TStringItem> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
    items_ = std::move(sorted);
    Changed();
}

int TStringList::CompareItems(TStringList* list, int index1, int index2) {
    return list->CompareStrings(list->items_[static_cast<std::size_t>(index1)].String,
                                list->items_[static_cast<std::size_t>(index2)].String);
}

void TStringList::Sort() {
    CustomSort(CompareItems);
}

void TStringList::CustomSort(TStringListSortCompare compare) {
    if (!sorted_) SortItems(compare);
}

void TStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive) return;
    caseSensitive_ = caseSensitive;
    // The order depends on the comparison; a sorted list sorts itself again.
    if (sorted_) SortItems(CompareItems);
}
