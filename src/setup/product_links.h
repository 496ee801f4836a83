#pragma once

#include <string>

// The product's web addresses, kept here only.
//
// PLACEHOLDERS: both addresses lie under https://tallyline.example/ until the
// project has a page of its own; replace them (and scramble the new logo
// address anew) then.

// The product's web page, shown in the about box.
inline constexpr const char* kProductPage = "https://tallyline.example/";

// The address the logo opens, scrambled (see UnscrambleText) so that it is
// not readable in the program file; LogoAddress makes it readable.
inline constexpr const char* kLogoAddressScrambled =
    "5DF9FF934CB25AB5750E279EBD0BE6B76EDEBB1D0482A71537A05E2DD43116";
inline constexpr const char* kLogoAddressKey = "\x3C\x91\xE7\x48\x0D\xB6";

// The logo's address, unscrambled; call it only when it is opened.
std::string LogoAddress();
