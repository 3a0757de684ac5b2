// A mail server's name looked up on a thread of its own, so that whoever
// waits for it can give up at once (an aborted session, a program that
// closes) however long a slow or unreachable name server takes. The lookup
// that is given up on ends by itself and touches nothing of its caller's.
// The resolver can be replaced, for tests.
#pragma once

#include <functional>
#include <string>

// Fills Address with the numeric IPv4 text of Host; false when not found.
using THostResolver = bool (*)(const std::string& Host, std::string& Address);
// Replaces the resolver (null: the system's); returns the one before.
THostResolver SetHostResolver(THostResolver Resolver);

enum class THostLookup { Found, NotFound, GivenUp };

// Waits for the lookup of Host, asking GiveUp every few milliseconds.
THostLookup LookUpHost(const std::string& Host, std::string& Address, const std::function<bool()>& GiveUp);
