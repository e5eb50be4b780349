#pragma once
// What the web log asks the operating system about the machine's identity.
//
// Windows -> Linux:
//  - volume GUID of the system drive -> machine-id(5) (/etc/machine-id, else
//    the D-Bus copy /var/lib/dbus/machine-id);
//  - volume serial number of the system drive -> the root file system's id
//    (statfs f_fsid, its two halves folded into 32 bits);
//  - GetAdaptersInfo -> getifaddrs' link-layer entries plus sysfs;
//  - GetBestInterface(public address) -> the interface that holds the local
//    address the kernel picks for a UDP "connection" to that address (no
//    packet is sent).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "weblog/network_adapter.h"

// Empty when no file holds a valid id.
std::string ReadMachineId();
std::optional<std::uint32_t> RootFileSystemId();
std::vector<NetworkAdapter> ListNetworkAdapters();
// The interface that routes to a public DNS server (8.8.8.8).
std::optional<unsigned> BestInterfaceIndex();
