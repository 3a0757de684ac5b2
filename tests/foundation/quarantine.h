// Keeps the memory of a freed object, filled with a pattern, until the test
// has looked at it: anything that writes into the object after it was freed
// shows up as a changed byte instead of going unnoticed.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>

template <class Base>
class TQuarantined : public Base {
public:
    using Base::Base;

    static void operator delete(void* Memory, std::size_t Size) {
        std::memset(Memory, kPattern, Size);
        block_ = Memory;
        size_ = Size;
    }

    // True once an object of this class was freed and nothing has written
    // into its memory since; the memory is given back either way.
    static bool FreedUntouched() {
        if (!block_) return false;
        const auto* bytes = static_cast<const unsigned char*>(block_);
        bool untouched = true;
        for (std::size_t i = 0; i < size_; ++i) untouched = untouched && bytes[i] == kPattern;
        ::operator delete(block_);
        block_ = nullptr;
        return untouched;
    }
    static bool Freed() { return block_ != nullptr; }

private:
    static constexpr unsigned char kPattern = 0xDD;
    static inline void* block_ = nullptr;
    static inline std::size_t size_ = 0;
};
