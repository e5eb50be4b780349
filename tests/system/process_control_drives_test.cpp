// The drive choice for an installation path on a made-up machine.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "fixtures/temp_dir.h"
#include "platform/fake_machine_mounts.h"
#include "platform/fake_system_facts.h"
#include "platform/mounts.h"
#include "system/process_control.h"

namespace {

using platform::MountTable;

// Free bytes per mount point; -1 (an error) for the others.
class FreeSpacePerMount : public platform::FakeSystemFacts {
 public:
  std::map<std::wstring, std::int64_t> freeBytes;
  std::int64_t FreeDiskSpace(const std::wstring& path) override {
    const auto found = freeBytes.find(path);
    return found == freeBytes.end() ? -1 : found->second;
  }
};

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

class DriveChoice : public ::testing::Test {
 protected:
  DriveChoice() {
    sys_.AddDevice(test::kSataBus, "sda", "sda1", 8, 1);
    sys_.AddDevice(test::kNvmeBus, "nvme0n1", "nvme0n1p1", 259, 1);
    sys_.AddDevice(test::kSataBus, "sdb", "sdb1", 8, 17);
    sys_.AddDevice(test::kSataBus, "sdc", "sdc1", 8, 33);
    sys_.AddDevice(test::kUsbBus, "sdd", "sdd1", 8, 49);
    sys_.AddDevice(test::kSataBus, "sde", "sde1", 8, 65, /*removable=*/true);
    mountInfo_ = test::MountLine("8:1", "/", "ext4", "/dev/sda1") +
                 test::MountLine("0:21", "/proc", "proc", "proc") +
                 test::MountLine("259:1", "/home", "ext4", "/dev/nvme0n1p1") +
                 test::MountLine("0:25", "/tmp", "tmpfs", "tmpfs") +
                 test::MountLine("8:17", "/data", "ext4", "/dev/sdb1") +
                 test::MountLine("8:33", "/data2", "ext4", "/dev/sdc1") +
                 test::MountLine("8:49", "/media/usb disk", "ext4", "/dev/sdd1") +
                 test::MountLine("8:65", "/media/card", "vfat", "/dev/sde1");
  }

  MountTable Table() const { return MountTable(platform::ParseMountInfo(mountInfo_), sys_.root()); }

  test::TempDir dir_;
  test::FakeSysfs sys_{dir_};
  std::string mountInfo_;
  FreeSpacePerMount facts_;
  platform::FakeSystemFacts::Installed installed_{facts_};
};

TEST_F(DriveChoice, MovesToTheFixedNonUsbDriveWithMostFreeSpace) {
  struct Case {
    const char* what;
    std::map<std::wstring, std::int64_t> freeBytes;
    std::wstring path;
    std::wstring expected;
  } const cases[] = {
      {"a bigger fixed drive wins",
       {{L"/", 10 * kGiB}, {L"/home", 20 * kGiB}, {L"/data", 50 * kGiB}},
       L"/home/u/Apps/Prod",
       L"/data/u/Apps/Prod"},
      {"from the root file system",
       {{L"/", 10 * kGiB}, {L"/data", 50 * kGiB}},
       L"/opt/Prod/",
       L"/data/opt/Prod/"},
      {"from a file system without a drive",
       {{L"/", 10 * kGiB}, {L"/tmp", 90 * kGiB}, {L"/data", 50 * kGiB}},
       L"/tmp/Prod",
       L"/data/Prod"},
      {"onto the root file system",
       {{L"/", 80 * kGiB}, {L"/home", 20 * kGiB}},
       L"/home/u/Prod",
       L"/u/Prod"},
      {"the mount point itself",
       {{L"/home", 20 * kGiB}, {L"/data", 50 * kGiB}},
       L"/home",
       L"/data"},
      {"a USB hard disk and a removable card are no choice",
       {{L"/home", 20 * kGiB}, {L"/media/usb disk", 900 * kGiB}, {L"/media/card", 800 * kGiB},
        {L"/data", 50 * kGiB}},
       L"/home/u/Prod",
       L"/data/u/Prod"},
      {"ties keep the earlier mount",
       {{L"/home", 20 * kGiB}, {L"/data", 50 * kGiB}, {L"/data2", 50 * kGiB}},
       L"/home/u/Prod",
       L"/data/u/Prod"},
      {"the own drive is the biggest",
       {{L"/", 10 * kGiB}, {L"/home", 90 * kGiB}, {L"/data", 50 * kGiB}},
       L"/home/u/Prod",
       L"/home/u/Prod"},
      {"no free space can be read", {}, L"/home/u/Prod", L"/home/u/Prod"},
      {"a relative path stays", {{L"/data", 50 * kGiB}}, L"u/Prod", L"u/Prod"},
      {"an empty path stays", {{L"/data", 50 * kGiB}}, L"", L""},
  };
  const MountTable table = Table();
  for (const Case& c : cases) {
    facts_.freeBytes = c.freeBytes;
    std::wstring path = c.path;
    FuntionImpl::MoveToLargestFixedDrive(path, table);
    EXPECT_EQ(path, c.expected) << c.what;
  }
}

TEST_F(DriveChoice, WithoutAnyFixedDriveThePathStays) {
  mountInfo_ = test::MountLine("0:30", "/", "overlay", "overlay") +
               test::MountLine("0:25", "/tmp", "tmpfs", "tmpfs");
  facts_.freeBytes = {{L"/", 90 * kGiB}, {L"/tmp", 90 * kGiB}};
  std::wstring path = L"/home/u/Prod";
  FuntionImpl::MoveToLargestFixedDrive(path, Table());
  EXPECT_EQ(path, L"/home/u/Prod");
}

TEST_F(DriveChoice, BusTypesOfMountPoints) {
  const MountTable table = Table();
  struct Case {
    const wchar_t* mountPoint;
    int bus;
  } const cases[] = {
      {L"/", 11},   {L"/home", 17},         {L"/media/usb disk", 7}, {L"/media/usb disk/", 7},
      {L"/tmp", 0}, {L"/home/u", 0},        {L"", 0},                {L"/proc", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FuntionImpl::GetDriveBusType(c.mountPoint, table), c.bus) << c.mountPoint;
  }
}

TEST(DriveChoiceOnThisMachine, PseudoFileSystemsHaveNoBus) {
  EXPECT_EQ(FuntionImpl::GetDriveBusType(L"/proc"), 0);
  EXPECT_EQ(FuntionImpl::GetDriveBusType(L"/no/such/mount"), 0);
  std::wstring path = L"relative/Prod";
  FuntionImpl::MoveToLargestFixedDrive(path);
  EXPECT_EQ(path, L"relative/Prod");
}

}  // namespace
