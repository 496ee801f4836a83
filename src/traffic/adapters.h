#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "traffic/link_source.h"

// One network adapter as Setup lists it.
struct TNicItem {
  std::string Description;  // trimmed of blanks and control characters
  std::string IP;           // dotted IPv4 address; 0.0.0.0 when none, empty when unknown
  std::string MAC;          // 00-0C-29-1A-2B-3C
  bool Selected = false;
  bool Up = false;  // connected or working, by its operational status
};

// "Description @ MAC", or the description alone without a hardware address:
// how settings and month files name an adapter.
std::string AdapterKey(const TNicItem& item);

// The first length bytes (at most 8) as upper-case hexadecimal pairs joined by "-".
std::string FormatMacAddress(uint32_t length, const uint8_t* bytes);

// The IPv4 address bound last to an interface, dotted; "0.0.0.0" when none,
// empty when the address table cannot be read.
std::string AdapterAddress(TLinkSource& source, uint32_t index);

// The adapters of the interface table (rows without a hardware address, such
// as the loopback interface, are left out), the one whose key equals
// savedKey exactly marked selected.
struct TAdapterList {
  std::vector<TNicItem> Items;
};
TAdapterList ListAdapters(TLinkSource& source, const std::string& savedKey);

// The first row of the table that ListAdapters lists under the key; null
// when none.
const TMibIfRow* FindAdapter(const std::vector<TMibIfRow>& rows, const std::string& key);
