// The class library's exception family. Every failure raised by classlib and
// by the subsystems above it is one of these, so a catch site can tell kinds
// apart by type and still show `Message()` to the user.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    // For a message that names what the code page cannot spell (a file in a
    // Cyrillic or CJK folder): Message() shows those letters as "?",
    // WideMessage() keeps them.
    explicit Exception(const std::wstring& message);

    const std::string& Message() const noexcept { return message_; }
    std::wstring WideMessage() const;
    void SetMessage(std::string message) {
        message_ = std::move(message);
        wideMessage_.clear();
    }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string message_;
    std::wstring wideMessage_;
};

#define VX_DECLARE_EXCEPTION(Name, Base)                                  \
    class Name : public Base {                                            \
    public:                                                               \
        using Base::Base;                                                 \
        const char* ClassName() const noexcept override { return #Name; } \
    }

VX_DECLARE_EXCEPTION(EAbort, Exception);
VX_DECLARE_EXCEPTION(EConvertError, Exception);
VX_DECLARE_EXCEPTION(EListError, Exception);
VX_DECLARE_EXCEPTION(EStringListError, Exception);
VX_DECLARE_EXCEPTION(EResNotFound, Exception);
VX_DECLARE_EXCEPTION(EInvalidOperation, Exception);
VX_DECLARE_EXCEPTION(EInvalidPointer, Exception);
VX_DECLARE_EXCEPTION(EComponentError, Exception);
VX_DECLARE_EXCEPTION(EOutOfResources, Exception);
VX_DECLARE_EXCEPTION(ERegistryException, Exception);
VX_DECLARE_EXCEPTION(EThread, Exception);
VX_DECLARE_EXCEPTION(EStreamError, Exception);
VX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
VX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
VX_DECLARE_EXCEPTION(EReadError, EStreamError);
VX_DECLARE_EXCEPTION(EWriteError, EStreamError);
VX_DECLARE_EXCEPTION(EFilerError, EStreamError);
VX_DECLARE_EXCEPTION(EClassNotFound, EFilerError);

// An operating-system failure; `ErrorCode` is the GetLastError value.
class EOSError : public Exception {
public:
    EOSError(std::string message, unsigned long errorCode)
        : Exception(std::move(message)), ErrorCode(errorCode) {}
    const char* ClassName() const noexcept override { return "EOSError"; }
    unsigned long ErrorCode;
};

// Ends the current operation without a message box (the class library's Abort).
[[noreturn]] void Abort();
