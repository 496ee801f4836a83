#include "traffic/adapters.h"

#include <algorithm>
#include <cstdio>

std::string AdapterKey(const TNicItem& item) {
  return item.MAC.empty() ? item.Description : item.Description + " @ " + item.MAC;
}

std::string FormatMacAddress(uint32_t length, const uint8_t* bytes) {
  std::string text;
  for (uint32_t i = 0; i < std::min<uint32_t>(length, 8); ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
    if (i > 0) text += '-';
    text += pair;
  }
  return text;
}

std::string AdapterAddress(TLinkSource& source, uint32_t index) {
  std::vector<TMibIpAddrRow> rows;
  if (!source.GetIpAddrTable(rows)) return std::string();
  uint32_t address = 0;
  for (const TMibIpAddrRow& row : rows)
    if (row.dwIndex == index) address = row.dwAddr;
  // Network byte order: the first octet is the lowest byte.
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", address & 0xFF, address >> 8 & 0xFF,
                address >> 16 & 0xFF, address >> 24);
  return text;
}

namespace {

// The operational states of an interface-table row that carry traffic.
constexpr uint32_t kOperConnected = 4;
constexpr uint32_t kOperOperational = 5;
// IANA interface types.
constexpr uint32_t kTypeLoopback = 24;
constexpr uint32_t kTypeTunnel = 131;

// Descriptions may carry trailing NULs, blanks or other control characters.
std::string TrimDescription(const TMibIfRow& row) {
  const auto* begin = reinterpret_cast<const char*>(row.bDescr);
  std::string text(begin, std::min<uint32_t>(row.dwDescrLen, sizeof row.bDescr));
  const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
  return first < last ? std::string(first, last) : std::string();
}

// The row's description and hardware address.
TNicItem DescribeRow(const TMibIfRow& row) {
  TNicItem item;
  item.Description = TrimDescription(row);
  item.MAC = FormatMacAddress(row.dwPhysAddrLen, row.bPhysAddr);
  return item;
}

}  // namespace

// Rows without a hardware address, such as the loopback interface, are no adapters.
bool IsAdapter(const TMibIfRow& row) {
  return row.dwPhysAddrLen != 0;
}

std::string RowKey(const TMibIfRow& row) {
  return AdapterKey(DescribeRow(row));
}

TAdapterKind AdapterKind(const TMibIfRow& row, const std::vector<TIfRow2>& rows2) {
  if (row.dwType == kTypeLoopback) return TAdapterKind::Loopback;
  const auto wide = std::find_if(rows2.begin(), rows2.end(),
                                 [&](const TIfRow2& r) { return r.InterfaceIndex == row.dwIndex; });
  if (row.dwType == kTypeTunnel || (wide != rows2.end() && wide->TunnelType != 0))
    return TAdapterKind::Tunnel;
  if (wide == rows2.end()) return TAdapterKind::Own;
  if (wide->FilterInterface) return TAdapterKind::Filter;
  return wide->HardwareInterface ? TAdapterKind::Own : TAdapterKind::Virtual;
}

TAdapterList ListAdapters(TLinkSource& source, const TAdapterChoice& choice) {
  TAdapterList list;
  std::vector<TMibIfRow> rows;
  if (!source.GetIfTable(rows)) return list;
  // Without the 64-bit table the kinds come from the rows' types alone.
  std::vector<TIfRow2> rows2;
  if (source.HasIfTable2() && !source.GetIfTable2(rows2)) rows2.clear();
  for (const TMibIfRow& row : rows) {
    if (!IsAdapter(row)) continue;
    TNicItem item = DescribeRow(row);
    item.IP = AdapterAddress(source, row.dwIndex);
    item.Selected = choice.Chooses(AdapterKey(item));
    item.Up = IsUp(row);
    item.Kind = AdapterKind(row, rows2);
    list.Items.push_back(item);
  }
  return list;
}

bool IsUp(const TMibIfRow& row) {
  return row.dwOperStatus == kOperConnected || row.dwOperStatus == kOperOperational;
}

const TMibIfRow* FindAdapter(const std::vector<TMibIfRow>& rows, const std::string& key) {
  const auto found = std::find_if(rows.begin(), rows.end(), [&](const TMibIfRow& row) {
    return IsAdapter(row) && RowKey(row) == key;
  });
  return found == rows.end() ? nullptr : &*found;
}
