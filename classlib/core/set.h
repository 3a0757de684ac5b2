// A small set of enumerators, as the class library writes `set of (...)`:
// component state and style, control style and state, anchors and the like.
// Unscoped enums with values below 64; the set is one word, cheap to copy.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class TSet {
    static_assert(std::is_enum_v<E>);

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members) {
        for (E member : members) bits_ |= Bit(member);
    }

    constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
    constexpr TSet& Include(E member) {
        bits_ |= Bit(member);
        return *this;
    }
    constexpr TSet& Exclude(E member) {
        bits_ &= ~Bit(member);
        return *this;
    }
    // Includes or excludes in one call, for flags driven by a boolean.
    constexpr TSet& Set(E member, bool on) { return on ? Include(member) : Exclude(member); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint64_t Bits() const { return bits_; }

    // Union, difference, intersection and comparison as in the class library.
    constexpr friend TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
    constexpr friend TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
    constexpr friend TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
    constexpr TSet& operator+=(TSet other) { return *this = *this + other; }
    constexpr TSet& operator-=(TSet other) { return *this = *this - other; }
    constexpr friend bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }
    // Subset: every member of `a` is in `b`.
    constexpr friend bool operator<=(TSet a, TSet b) { return (a.bits_ & ~b.bits_) == 0; }

private:
    static constexpr std::uint64_t Bit(E member) { return std::uint64_t{1} << static_cast<unsigned>(member); }
    static constexpr TSet FromBits(std::uint64_t bits) {
        TSet result;
        result.bits_ = bits;
        return result;
    }

    std::uint64_t bits_ = 0;
};
