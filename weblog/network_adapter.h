#pragma once
// The network adapter whose MAC address goes into the analytics client id,
// chosen as the Windows program chooses among GetAdaptersInfo's entries.
//
// Linux: the description is the interface's device path in sysfs
// ("/sys/devices/pci0000:00/0000:00:1f.6/net/eno1",
// "/sys/devices/virtual/net/docker0"), which names the bus as a Windows
// description names the hardware. Wireless interfaces are the ones with a
// "wireless" or "phy80211" entry in sysfs.

#include <optional>
#include <string>
#include <vector>

struct NetworkAdapter {
  enum class Type { Ethernet, Wireless, Other };

  unsigned index = 0;  // interface index
  std::string name;
  std::string description;
  Type type = Type::Other;
  std::vector<unsigned char> address;  // hardware address
};

// With a best interface: the adapter of that index, if any. Without one: the
// first adapter whose description contains "PCI" or whose type is Ethernet
// or wireless, whose description contains neither "Bluetooth" nor "Virtual"
// (in any case) and whose address is 6 bytes long. nullptr when none fits.
const NetworkAdapter* SelectClientAdapter(const std::vector<NetworkAdapter>& adapters,
                                          std::optional<unsigned> bestInterfaceIndex);

// "%02X" six times; empty unless the address is 6 bytes long.
std::string FormatMacAddress(const std::vector<unsigned char>& address);
