#include "weblog/client_id.h"

#include <cstdio>

#include "weblog/machine_facts.h"

std::string AnalyticsClientId() {
  std::string id;
  if (const std::optional<std::uint32_t> serial = RootFileSystemId()) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(*serial));
    id = text;
  }
  const std::vector<NetworkAdapter> adapters = ListNetworkAdapters();
  if (const NetworkAdapter* adapter = SelectClientAdapter(adapters, BestInterfaceIndex())) {
    id += FormatMacAddress(adapter->address);
  }
  return id;
}
