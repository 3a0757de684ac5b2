// The error and hint texts of the toolbar framework, one place for every
// unit that raises or shows them.
#pragma once

inline constexpr const char* SBarItemIndexOutOfRange = "Toolbar item index out of range";
inline constexpr const char* SBarItemAlreadyInserted = "Toolbar item already inserted";
inline constexpr const char* SBarViewerNotFound =
    "An item viewer associated the specified item could not be found";
inline constexpr const char* SBarMoreButtonsHint = "More Buttons|";
inline constexpr const char* SBarDockParentNotAllowed =
    "A TBarDock control cannot be placed inside a tool window or another TBarDock";
inline constexpr const char* SBarDockCannotChangePosition =
    "Cannot change Position of a TBarDock if it already contains controls";
inline constexpr const char* SBarNoParentWindow = "Control '%s' has no parent window";
