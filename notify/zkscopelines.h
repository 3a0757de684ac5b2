// The lines of the scope chart: `TZkScopeLineValues` (a ring of the newest
// values), `TZkScopeLine` (name, colour, current position and its history)
// and the collection `TZkScopeLines` that the chart owns.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/core/collection.h"
#include "classlib/graphics/colors.h"

enum TZkScopeLineUnit { jluPercent, jluAbsolute };

class TZkSimScope;

class TZkScopeLineValues {
public:
    // At least one slot, so that a value always has somewhere to go.
    explicit TZkScopeLineValues(int Capacity = 1);

    int Capacity() const { return static_cast<int>(values_.size()); }
    // Keeps the newest values, oldest first, when shrinking.
    void SetCapacity(int Value);
    int Count() const { return count_; }
    // Once full, the oldest value is overwritten.
    void Add(int Value);
    // 0 is the oldest value; Index must be below Count.
    int Item(int Index) const { return values_[(head_ + Index) % count_]; }
    // A cleared line holds two zeros (one when the capacity is 1).
    void Clear();
    void Assign(const TZkScopeLineValues& Source);

private:
    std::vector<int> values_;
    int count_ = 0;
    int head_ = 0;
};

class TZkScopeLine : public TCollectionItem {
    VX_CLASS(TZkScopeLine, TCollectionItem)
public:
    explicit TZkScopeLine(TCollection* Collection);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& Value) { name_ = Value; }
    TColor Color() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    // The current value, recorded on every tick.
    int Position() const { return position_; }
    void SetPosition(int Value) { position_ = Value; }
    TZkScopeLineUnit PositionUnit() const { return positionUnit_; }
    void SetPositionUnit(TZkScopeLineUnit Value) { positionUnit_ = Value; }

    TZkScopeLineValues& Values() { return *values_; }
    const TZkScopeLineValues& Values() const { return *values_; }
    void Assign(TPersistent* Source) override;

protected:
    std::string GetDisplayName() const override;

private:
    std::string name_;
    TColor color_ = clLime;
    int position_ = 50;
    TZkScopeLineUnit positionUnit_ = jluPercent;
    std::unique_ptr<TZkScopeLineValues> values_ = std::make_unique<TZkScopeLineValues>();
};

class TZkScopeLines : public TOwnedCollection {
    VX_CLASS(TZkScopeLines, TOwnedCollection)
public:
    explicit TZkScopeLines(TZkSimScope* AOwner);

    TZkScopeLine* Add() { return static_cast<TZkScopeLine*>(inherited::Add()); }
    TZkScopeLine* Items(int Index) const { return static_cast<TZkScopeLine*>(inherited::Items(Index)); }
    void ClearValues();
    // Every line's history gets room for Value values.
    void SetCapacity(int Value);

protected:
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
    TZkSimScope* scope_;
};
