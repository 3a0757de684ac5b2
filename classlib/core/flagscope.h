// TFlagScope: a flag set for as long as a scope lasts, however it ends.
#pragma once

class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : flag_(Flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};
