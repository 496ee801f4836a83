#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "traffic/adapter_choice.h"
#include "traffic/link_source.h"

// What an adapter is, as far as counting all adapters goes: one that carries
// its own traffic, or one whose bytes another adapter (or the machine
// itself) carries too, and which would count them twice.
enum class TAdapterKind : uint8_t {
  Own,
  Loopback,
  Tunnel,
  Virtual,  // not hardware by the system's word: VPN and virtual switch adapters
  Filter,   // a filter layer the system lists again for the same adapter
};

// One network adapter as Setup lists it.
struct TNicItem {
  std::string Description;  // trimmed of blanks and control characters
  std::string IP;           // dotted IPv4 address; 0.0.0.0 when none, empty when unknown
  std::string MAC;          // 00-0C-29-1A-2B-3C
  bool Selected = false;    // one of the chosen set
  bool Up = false;          // connected or working, by its operational status
  TAdapterKind Kind = TAdapterKind::Own;
};

// "Description @ MAC", or the description alone without a hardware address:
// how settings and month files name an adapter.
std::string AdapterKey(const TNicItem& item);

// The first length bytes (at most 8) as upper-case hexadecimal pairs joined by "-".
std::string FormatMacAddress(uint32_t length, const uint8_t* bytes);

// The IPv4 address bound last to an interface, dotted; "0.0.0.0" when none,
// empty when the address table cannot be read.
std::string AdapterAddress(TLinkSource& source, uint32_t index);

// The kind of an interface-table row, by its type and, where the system has
// the 64-bit table, by the flags of its row there.
TAdapterKind AdapterKind(const TMibIfRow& row, const std::vector<TIfRow2>& rows2);

// The adapters of the interface table (rows without a hardware address, such
// as the loopback interface, are left out), those whose keys are chosen
// (compared exactly) marked selected.
struct TAdapterList {
  std::vector<TNicItem> Items;
};
TAdapterList ListAdapters(TLinkSource& source, const TAdapterChoice& choice);

// Whether a row is one that ListAdapters lists.
bool IsAdapter(const TMibIfRow& row);
// The key ListAdapters gives a row.
std::string RowKey(const TMibIfRow& row);
// Whether a row's operational status is one that carries traffic.
bool IsUp(const TMibIfRow& row);

// The first row of the table that ListAdapters lists under the key; null
// when none.
const TMibIfRow* FindAdapter(const std::vector<TMibIfRow>& rows, const std::string& key);
