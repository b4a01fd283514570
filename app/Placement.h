// The main window's placement in the settings store: its outer top, left,
// width and height (frame, caption and menu included).
#pragma once

#include <optional>

#include "platform/Settings.h"

class QWidget;

namespace velmar {

inline constexpr const char* PositionsKey = "Software\\Velmar\\TRegistry\\Positions";
inline constexpr const char* SizeKey = "Software\\Velmar\\TRegistry\\Size";
inline constexpr int MinimumOuterWidth = 400;
inline constexpr int MinimumOuterHeight = 250;

// Applies what is stored, each value on its own: a missing value, or one of
// another type, leaves that coordinate as it is. Sizes below the minimum
// give the minimum.
void ApplyStoredPlacement(QWidget& window, const SettingsStore& store);

// Writes the four values (the keys are created as needed).
void StorePlacement(const QWidget& window, SettingsStore& store);

// The outer size the window has now.
int OuterWidth(const QWidget& window);
int OuterHeight(const QWidget& window);

}  // namespace velmar
