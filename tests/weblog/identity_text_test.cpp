// The texts that identify this machine and its reports: GUIDs, the session
// id, machine-id, the MAC address and the client id built from them.
#include <gtest/gtest.h>

#include <regex>

#include "fixtures/temp_dir.h"
#include "weblog/client_id.h"
#include "weblog/guid.h"
#include "weblog/machine_facts.h"
#include "weblog/machine_id.h"
#include "weblog/network_adapter.h"

namespace {

constexpr Guid kSample{
    0x0A1B2C3D, 0x4E5F, 0xABCD, {0xEF, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD}};

TEST(GuidText, TheTwoSpellings) {
  EXPECT_EQ(FormatGuid(kSample), "0A1B2C3D-4E5F-ABCD-EF01-23456789ABCD");
  // The third group of the session id is the one in lower case.
  EXPECT_EQ(FormatSessionId(kSample), "0A1B2C3D4E5FabcdEF0123456789ABCD");
}

TEST(GuidText, NewGuidsAreRandomVersion4) {
  const std::optional<Guid> first = CreateGuid();
  const std::optional<Guid> second = CreateGuid();
  ASSERT_TRUE(first && second);
  EXPECT_NE(FormatGuid(*first), FormatGuid(*second));
  EXPECT_TRUE(std::regex_match(FormatGuid(*first),
                               std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-"
                                          "[0-9A-F]{12}")))
      << FormatGuid(*first);
}

TEST(GuidText, RecognisesOnlyTheGuidShape) {
  const std::pair<const char*, bool> cases[] = {
      {"0A1B2C3D-4E5F-ABCD-EF01-23456789ABCD", true},
      {"0a1b2c3d-4e5f-abcd-ef01-23456789abcd", true},
      {"", false},
      {"0A1B2C3D4E5FABCDEF0123456789ABCD", false},
      {"0A1B2C3D-4E5F-ABCD-EF01-23456789ABC", false},
      {"0A1B2C3D-4E5F-ABCD-EF01-23456789ABCDE", false},
      {"0A1B2C3G-4E5F-ABCD-EF01-23456789ABCD", false},
      {"0A1B2C3D-4E5F-ABCD-EF01 23456789ABCD", false},
      {"0A1B2C3D-4E5F-ABCD-EF01-2345678&guid", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsGuidText(text), expected) << text;
}

TEST(MachineId, AcceptsOnlyTheFileFormat) {
  const std::pair<std::string, std::string> cases[] = {
      {"3d1219c7c4c5404aaa1f6d2a48adfda4\n", "3d1219c7c4c5404aaa1f6d2a48adfda4"},
      {"3d1219c7c4c5404aaa1f6d2a48adfda4", "3d1219c7c4c5404aaa1f6d2a48adfda4"},
      {"uninitialized\n", ""},
      {"", ""},
      {"\n", ""},
      {"3D1219C7C4C5404AAA1F6D2A48ADFDA4\n", ""},
      {"3d1219c7c4c5404aaa1f6d2a48adfda\n", ""},
      {"3d1219c7c4c5404aaa1f6d2a48adfda4a\n", ""},
      {"3d1219c7c4c5404aaa1f6d2a48adfda4\n\n", ""},
      {std::string("3d1219c7c4c5404a\0a1f6d2a48adfda4", 32), ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(MachineIdFromText(text), expected) << text;
}

TEST(MachineId, ThisMachinesIdIsItsMachineIdFile) {
  const std::string etc = MachineIdFromText(test::ReadFile("/etc/machine-id"));
  if (etc.empty()) GTEST_SKIP() << "no valid /etc/machine-id here";
  EXPECT_EQ(ReadMachineId(), etc);
}

NetworkAdapter Adapter(unsigned index, std::string description, NetworkAdapter::Type type,
                       std::vector<unsigned char> address = {0x02, 0xFC, 0, 0, 0, 0x01}) {
  return NetworkAdapter{index, "if" + std::to_string(index), std::move(description), type,
                        std::move(address)};
}

TEST(ClientAdapter, TheBestInterfaceWinsWhateverItIs) {
  const std::vector<NetworkAdapter> adapters = {
      Adapter(1, "/sys/devices/pci0000:00/0000:00:1f.6/net/eno1", NetworkAdapter::Type::Ethernet),
      Adapter(7, "/sys/devices/virtual/net/tun0", NetworkAdapter::Type::Other, {})};
  EXPECT_EQ(SelectClientAdapter(adapters, 7u), &adapters[1]);
  EXPECT_EQ(SelectClientAdapter(adapters, 1u), &adapters[0]);
  // A best interface without an adapter entry gives no MAC, not a guess.
  EXPECT_EQ(SelectClientAdapter(adapters, 9u), nullptr);
}

TEST(ClientAdapter, WithoutARouteTheFirstPhysicalAdapter) {
  using Type = NetworkAdapter::Type;
  struct Case {
    const char* what;
    std::vector<NetworkAdapter> adapters;
    int expected;  // index into adapters, -1: none
  };
  const Case cases[] = {
      {"loopback and virtual skipped",
       {Adapter(1, "/sys/devices/virtual/net/lo", Type::Other, {0, 0, 0, 0, 0, 0}),
        Adapter(2, "/sys/devices/virtual/net/docker0", Type::Ethernet),
        Adapter(3, "/sys/devices/pci0000:00/0000:00:1f.6/net/eno1", Type::Ethernet)},
       2},
      {"bluetooth skipped",
       {Adapter(1, "/sys/devices/pci0000:00/usb1/1-1/bluetooth/hci0/bnep0", Type::Ethernet),
        Adapter(2, "/sys/devices/pci0000:00/0000:02:00.0/net/wlp2s0", Type::Wireless)},
       1},
      {"PCI counts even for another type",
       {Adapter(1, "/sys/devices/platform/thing/net/usb0", Type::Other),
        Adapter(2, "/sys/devices/PCI0000:00/net/ib0", Type::Other)},
       1},
      {"address must be 6 bytes",
       {Adapter(1, "/sys/devices/pci0000:00/net/ib0", Type::Other,
                std::vector<unsigned char>(20, 1)),
        Adapter(2, "/sys/devices/platform/soc/net/end0", Type::Ethernet)},
       1},
      {"none fits", {Adapter(1, "/sys/devices/virtual/net/veth1", Type::Ethernet)}, -1},
      {"no adapters", {}, -1},
  };
  for (const Case& c : cases) {
    const NetworkAdapter* chosen = SelectClientAdapter(c.adapters, std::nullopt);
    EXPECT_EQ(chosen, c.expected < 0 ? nullptr : &c.adapters[c.expected]) << c.what;
  }
}

TEST(ClientAdapter, MacAddressSpelling) {
  EXPECT_EQ(FormatMacAddress({0x02, 0xfc, 0x00, 0x0a, 0xB0, 0x01}), "02FC000AB001");
  EXPECT_EQ(FormatMacAddress({}), "");
  EXPECT_EQ(FormatMacAddress({1, 2, 3, 4, 5, 6, 7, 8}), "");
}

TEST(ClientId, FileSystemSerialThenMacAndStable) {
  const std::string id = AnalyticsClientId();
  EXPECT_TRUE(std::regex_match(id, std::regex("([1-9A-F][0-9A-F]{0,7})?([0-9A-F]{12})?"))) << id;
  if (const auto serial = RootFileSystemId()) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(*serial));
    EXPECT_EQ(id.rfind(text, 0), 0u) << id;
  }
  EXPECT_EQ(AnalyticsClientId(), id);
}

}  // namespace
