// Test support: a private registry for the current user. While a
// TRegistryRedirect lives, every HKEY_CURRENT_USER access of the process
// (TRegistry or plain Win32 calls, on any thread) lands in a fresh throwaway
// key, which is deleted with everything below it when the redirect ends.
//
//   TEST(Settings, SavesThePollInterval) {
//       TRegistryRedirect privateRoot;   // first, before any registry use
//       ...code under test reads and writes HKEY_CURRENT_USER as usual...
//   }
//
// The throwaway key is "Software\VexmoraTests\<unique name>" of the real
// HKEY_CURRENT_USER (`KeyPath`); it starts empty. Redirects nest: an inner one
// gets a fresh key below the outer's, and the outer's comes back when it
// ends. End them in reverse order of creation (scopes do that). Other roots
// (HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT) are not redirected.
#pragma once

#include <string>

#include "classlib/core/registry.h"

class TRegistryRedirect {
public:
    TRegistryRedirect();
    ~TRegistryRedirect();
    TRegistryRedirect(const TRegistryRedirect&) = delete;
    TRegistryRedirect& operator=(const TRegistryRedirect&) = delete;

    // The throwaway key's path below the real HKEY_CURRENT_USER.
    const std::string& KeyPath() const { return keyPath_; }

private:
    TRegKeyHandle key_;
    std::string relativePath_;  // below HKEY_CURRENT_USER as it was mapped at creation
    std::string keyPath_;
    TRegistryRedirect* previous_;
};
