#include "notify/zkscopelines.h"

#include <algorithm>

#include "notify/zksimscope.h"

TZkScopeLineValues::TZkScopeLineValues(int Capacity) : values_(std::max(Capacity, 1)) {}

void TZkScopeLineValues::SetCapacity(int Value) {
    Value = std::max(Value, 1);
    if (Value == Capacity()) return;
    const int keep = std::min(count_, Value);
    std::vector<int> values(Value);
    for (int i = 0; i < keep; ++i) values[i] = Item(count_ - keep + i);
    values_ = std::move(values);
    count_ = keep;
    head_ = 0;
}

void TZkScopeLineValues::Add(int Value) {
    if (count_ < Capacity()) {
        values_[count_++] = Value;
    } else {
        values_[head_] = Value;
        head_ = (head_ + 1) % count_;
    }
}

void TZkScopeLineValues::Clear() {
    count_ = 0;
    head_ = 0;
    Add(0);
    Add(0);
}

void TZkScopeLineValues::Assign(const TZkScopeLineValues& Source) {
    values_ = Source.values_;
    count_ = Source.count_;
    head_ = Source.head_;
}

TZkScopeLine::TZkScopeLine(TCollection* Collection) : inherited(Collection) {}

void TZkScopeLine::Assign(TPersistent* Source) {
    if (auto* line = dynamic_cast<TZkScopeLine*>(Source)) {
        name_ = line->name_;
        color_ = line->color_;
        position_ = line->position_;
        values_->Assign(*line->values_);
        return;
    }
    inherited::Assign(Source);
}

std::string TZkScopeLine::GetDisplayName() const {
    return name_.empty() ? inherited::GetDisplayName() : name_;
}

TZkScopeLines::TZkScopeLines(TZkSimScope* AOwner)
    : inherited(AOwner, TZkScopeLine::ClassInfo()), scope_(AOwner) {}

void TZkScopeLines::ClearValues() {
    for (int i = 0; i < Count(); ++i) Items(i)->Values().Clear();
}

void TZkScopeLines::SetCapacity(int Value) {
    for (int i = 0; i < Count(); ++i) Items(i)->Values().SetCapacity(Value);
}

void TZkScopeLines::Notify(TCollectionItem* Item, TCollectionNotification Action) {
    inherited::Notify(Item, Action);
    if (Action != cnAdded) return;
    // A new line starts with a cleared history as long as the chart is wide.
    auto& values = static_cast<TZkScopeLine*>(Item)->Values();
    values.SetCapacity(scope_ ? scope_->TotalTimeSteps() : 1);
    values.Clear();
}
