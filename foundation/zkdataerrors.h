// The data provider framework's error classes (`EZKCLDataProvider` and its
// family) and the texts of their messages.
#pragma once

#include "foundation/zktypes.h"

VX_DECLARE_EXCEPTION(EZKCLDataProvider, EZKCLException);
VX_DECLARE_EXCEPTION(EZKCLDataConsumer, EZKCLDataProvider);
VX_DECLARE_EXCEPTION(EZKCLDataItems, EZKCLDataProvider);
VX_DECLARE_EXCEPTION(EZKCLDataContexts, EZKCLDataProvider);

inline constexpr const char* ZkErrorImplementationExists = "Implementation of that class already exists";
inline constexpr const char* ZkErrorNoProviderForItem = "You must specify a provider before setting the item";
inline constexpr const char* ZkErrorItemNotInContext = "Item not found in the selected context";
inline constexpr const char* ZkErrorNoProviderForContext =
    "You must specify a provider before setting the context";
inline constexpr const char* ZkErrorNoContexts = "Provider does not support contexts";
// %s: the context name asked for.
inline constexpr const char* ZkErrorNoSuchContext = "Provider has no context named \"%s\"";
inline constexpr const char* ZkErrorForeignContext = "The specified context is not part of the same provider";
inline constexpr const char* ZkErrorContextWithoutOwner =
    "Cannot create a context without a context list owner";
inline constexpr const char* ZkErrorDuplicateContext = "A context with that name already exists";
// %d: the index asked for.
inline constexpr const char* ZkErrorIndexOutOfBounds = "List index out of bounds (%d)";
inline constexpr const char* ZkErrorCannotDelete = "Item cannot be deleted";
inline constexpr const char* ZkErrorViewOutOfSync = "ViewList out of sync";
inline constexpr const char* ZkErrorNoTextInterface = "(item does not support the IZkDataItemText interface)";
// Read errors of streamed extensions and items.
inline constexpr const char* ZkErrorExpectedCollection = "Expected collection";
inline constexpr const char* ZkErrorMissingClassName = "Missing ClassName property";
inline constexpr const char* ZkErrorInvalidClassType = "Invalid class type";
