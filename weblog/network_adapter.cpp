#include "weblog/network_adapter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

namespace {

bool ContainsIgnoreCase(std::string_view text, std::string_view word) {
  const auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  return std::search(text.begin(), text.end(), word.begin(), word.end(), same) != text.end();
}

bool IsPhysical(const NetworkAdapter& adapter) {
  const bool hardware = ContainsIgnoreCase(adapter.description, "PCI") ||
                        adapter.type == NetworkAdapter::Type::Ethernet ||
                        adapter.type == NetworkAdapter::Type::Wireless;
  return hardware && !ContainsIgnoreCase(adapter.description, "Bluetooth") &&
         !ContainsIgnoreCase(adapter.description, "Virtual") && adapter.address.size() == 6;
}

}  // namespace

const NetworkAdapter* SelectClientAdapter(const std::vector<NetworkAdapter>& adapters,
                                          std::optional<unsigned> bestInterfaceIndex) {
  const auto chosen =
      bestInterfaceIndex
          ? std::find_if(adapters.begin(), adapters.end(),
                         [&](const NetworkAdapter& a) { return a.index == *bestInterfaceIndex; })
          : std::find_if(adapters.begin(), adapters.end(), IsPhysical);
  return chosen == adapters.end() ? nullptr : &*chosen;
}

std::string FormatMacAddress(const std::vector<unsigned char>& address) {
  if (address.size() != 6) return {};
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", address[0], address[1], address[2],
                address[3], address[4], address[5]);
  return text;
}
