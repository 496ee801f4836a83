#pragma once

// The names the program shows for itself.
inline constexpr const char* kAppTitle = "Tallyline";
inline constexpr const char* kAppVersionSuffix = " v1.43";
