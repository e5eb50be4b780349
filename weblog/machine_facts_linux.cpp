#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <sys/socket.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/file_contents.h"
#include "weblog/machine_facts.h"
#include "weblog/machine_id.h"

namespace {

constexpr char kPublicDnsServer[] = "8.8.8.8";

class InterfaceList {
 public:
  InterfaceList() {
    if (::getifaddrs(&list_) != 0) list_ = nullptr;
  }
  ~InterfaceList() {
    if (list_) ::freeifaddrs(list_);
  }
  InterfaceList(const InterfaceList&) = delete;
  InterfaceList& operator=(const InterfaceList&) = delete;
  const ifaddrs* first() const { return list_; }

 private:
  ifaddrs* list_ = nullptr;
};

NetworkAdapter::Type TypeOf(const std::string& name, unsigned short hardwareType) {
  if (hardwareType != ARPHRD_ETHER) return NetworkAdapter::Type::Other;
  std::error_code error;
  const std::filesystem::path sys = std::filesystem::path("/sys/class/net") / name;
  if (std::filesystem::exists(sys / "wireless", error) ||
      std::filesystem::exists(sys / "phy80211", error)) {
    return NetworkAdapter::Type::Wireless;
  }
  return NetworkAdapter::Type::Ethernet;
}

std::string DescriptionOf(const std::string& name) {
  std::error_code error;
  const std::filesystem::path device =
      std::filesystem::canonical(std::filesystem::path("/sys/class/net") / name, error);
  return error ? name : device.string();
}

}  // namespace

std::string ReadMachineId() {
  for (const wchar_t* path : {L"/etc/machine-id", L"/var/lib/dbus/machine-id"}) {
    if (const auto text = platform::ReadFileContents(path, 64)) {
      std::string id = MachineIdFromText(*text);
      if (!id.empty()) return id;
    }
  }
  return {};
}

std::optional<std::uint32_t> RootFileSystemId() {
  struct statfs info {};
  if (::statfs("/", &info) != 0) return std::nullopt;
  int halves[2];
  static_assert(sizeof halves == sizeof info.f_fsid);
  std::memcpy(halves, &info.f_fsid, sizeof halves);
  const auto id = static_cast<std::uint32_t>(halves[0]) ^ static_cast<std::uint32_t>(halves[1]);
  // File systems without an id report 0.
  if (id == 0) return std::nullopt;
  return id;
}

std::vector<NetworkAdapter> ListNetworkAdapters() {
  std::vector<NetworkAdapter> adapters;
  const InterfaceList list;
  for (const ifaddrs* entry = list.first(); entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET || !entry->ifa_name) continue;
    const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
    NetworkAdapter adapter;
    adapter.index = static_cast<unsigned>(link->sll_ifindex);
    adapter.name = entry->ifa_name;
    adapter.description = DescriptionOf(adapter.name);
    adapter.type = TypeOf(adapter.name, link->sll_hatype);
    const std::size_t length = std::min<std::size_t>(link->sll_halen, sizeof link->sll_addr);
    adapter.address.assign(link->sll_addr, link->sll_addr + length);
    adapters.push_back(std::move(adapter));
  }
  return adapters;
}

std::optional<unsigned> BestInterfaceIndex() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(53);
  ::inet_pton(AF_INET, kPublicDnsServer, &remote.sin_addr);
  sockaddr_in local{};
  socklen_t localLength = sizeof local;
  const bool routed =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) == 0;
  ::close(fd);
  if (!routed) return std::nullopt;
  const InterfaceList list;
  for (const ifaddrs* entry = list.first(); entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_name) continue;
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
    if (address->sin_addr.s_addr != local.sin_addr.s_addr) continue;
    const unsigned index = ::if_nametoindex(entry->ifa_name);
    if (index != 0) return index;
  }
  return std::nullopt;
}
