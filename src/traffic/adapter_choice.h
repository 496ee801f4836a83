#pragma once

#include <string>
#include <vector>

#include "storage/ini_file.h"

// The adapters that adapter mode counts, as the settings' section "NIC"
// keeps them: "S" the key of the first, "S2", "S3", ... those of the others
// of a chosen set, in the order chosen; "All" = 1 every adapter, present now
// or later, whose kind carries its own traffic (the keys are then kept, for
// a return to the set, but not used).
struct TAdapterChoice {
  bool All = false;
  std::vector<std::string> Keys;
  // Whether the key is one of the set, compared exactly.
  bool Chooses(const std::string& key) const;
  bool operator==(const TAdapterChoice&) const = default;
};

// The keys from "S" on while they follow each other, blanks and repeats left
// out; a file of the one-adapter days reads as a set of one.
TAdapterChoice ReadAdapterChoice(TIniFile32& settings);
// Writes "All" and, for a set, its keys, dropping keys of a larger set
// written before. "All" keeps the keys as they were.
void WriteAdapterChoice(TIniFile32& settings, const TAdapterChoice& choice);
