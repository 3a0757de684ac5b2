// Raises a re-entry counter for the length of a scope, so that what runs
// inside (a layout, an arrangement) can tell it was called from there.
#pragma once

class TBarCountIn {
public:
    explicit TBarCountIn(int& Counter) : counter_(Counter) { ++counter_; }
    ~TBarCountIn() { --counter_; }
    TBarCountIn(const TBarCountIn&) = delete;
    TBarCountIn& operator=(const TBarCountIn&) = delete;

private:
    int& counter_;
};
