#include "platform/mounts.h"

#include <gtest/gtest.h>

#include "fake_machine_mounts.h"
#include "fixtures/temp_dir.h"

namespace {

using platform::MountPoint;
using platform::MountTable;

TEST(MountInfo, ParsesTheFieldsTheDriveChoiceNeeds) {
  const std::string text =
      "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
      "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard\n"
      // no optional fields, an escaped blank, read-only
      "40 28 8:17 / /media/My\\040Disk ro,nosuid master:3 shared:7 - vfat /dev/sdb1 ro\n"
      "41 28 0:40 /@home /home rw - btrfs /dev/nvme0n1p2 rw\n"
      // malformed: no separator, bad device number, relative mount point
      "42 28 8:1 / /x rw ext4 /dev/sda1 rw\n"
      "43 28 8x1 / /y rw - ext4 /dev/sda1 rw\n"
      "44 28 8:1 / z rw - ext4 /dev/sda1 rw\n"
      "\n";
  const std::vector<MountPoint> mounts = platform::ParseMountInfo(text);
  ASSERT_EQ(mounts.size(), 4u);
  EXPECT_EQ(mounts[0].path, L"/proc");
  EXPECT_EQ(mounts[0].fileSystem, "proc");
  EXPECT_EQ(mounts[1].path, L"/");
  EXPECT_EQ(mounts[1].source, L"/dev/vda");
  EXPECT_EQ(mounts[1].major, 254u);
  EXPECT_EQ(mounts[1].minor, 0u);
  EXPECT_FALSE(mounts[1].readOnly);
  EXPECT_EQ(mounts[2].path, L"/media/My Disk");
  EXPECT_EQ(mounts[2].minor, 17u);
  EXPECT_TRUE(mounts[2].readOnly);
  EXPECT_EQ(mounts[3].path, L"/home");
  EXPECT_EQ(mounts[3].source, L"/dev/nvme0n1p2");
}

TEST(MountTable, HoldingIsTheDeepestMountOnAFolderBoundary) {
  const MountTable table(platform::ParseMountInfo(test::MountLine("8:1", "/", "ext4", "/dev/sda1") +
                                                  test::MountLine("8:2", "/home", "ext4", "/dev/sda2") +
                                                  test::MountLine("8:3", "/home/u/big", "ext4", "/dev/sda3") +
                                                  test::MountLine("8:4", "/home", "ext4", "/dev/sda4")),
                         L"/nonexistent");
  struct Case {
    const wchar_t* path;
    const wchar_t* source;  // nullptr: none
  } const cases[] = {
      {L"/opt/app", L"/dev/sda1"},
      {L"/homer/app", L"/dev/sda1"},
      {L"/home", L"/dev/sda4"},  // mounted over the earlier /home
      {L"/home/u/app", L"/dev/sda4"},
      {L"/home/u/big", L"/dev/sda3"},
      {L"/home/u/big/x", L"/dev/sda3"},
      {L"/home/u/bigger", L"/dev/sda4"},
      {L"relative/path", nullptr},
      {L"", nullptr},
  };
  for (const Case& c : cases) {
    const MountPoint* mount = table.Holding(c.path);
    if (!c.source) {
      EXPECT_EQ(mount, nullptr) << c.path;
    } else {
      ASSERT_NE(mount, nullptr) << c.path;
      EXPECT_EQ(mount->source, c.source) << c.path;
    }
  }
  ASSERT_NE(table.At(L"/home/u/big/"), nullptr);
  EXPECT_EQ(table.At(L"/home/u/big/")->source, L"/dev/sda3");
  EXPECT_EQ(table.At(L"/home/u"), nullptr);
}

TEST(MountTable, DrivesAreToldApartBySysfs) {
  test::TempDir dir;
  test::FakeSysfs sys(dir);
  sys.AddDevice(test::kSataBus, "sda", "sda1", 8, 1);
  sys.AddDevice(test::kUsbBus, "sdb", "sdb1", 8, 17);
  sys.AddDevice(test::kNvmeBus, "nvme0n1", "nvme0n1p2", 259, 2);
  sys.AddDevice(test::kScsiBus, "sdc", "", 8, 32);
  sys.AddDevice(test::kVirtioBus, "vda", "", 254, 0);
  sys.AddDevice(test::kSataBus, "sdd", "sdd1", 8, 49, /*removable=*/true);
  sys.AddDevice(test::kUsbBus, "sde", "", 8, 64, /*removable=*/true);
  sys.AddDevice(test::kVirtualBus, "dm-0", "", 253, 0);
  const MountTable table(
      platform::ParseMountInfo(
          test::MountLine("8:1", "/", "ext4", "/dev/sda1") +
          test::MountLine("8:17", "/media/usb", "ext4", "/dev/sdb1") +
          // btrfs: an anonymous number, found by its source's name
          test::MountLine("0:40", "/home", "btrfs", "/dev/nvme0n1p2") +
          test::MountLine("8:32", "/srv", "xfs", "/dev/sdc") +
          test::MountLine("254:0", "/var", "ext4", "/dev/vda") +
          test::MountLine("8:49", "/media/card", "vfat", "/dev/sdd1") +
          test::MountLine("8:64", "/media/stick", "vfat", "/dev/sde") +
          test::MountLine("253:0", "/data", "ext4", "/dev/mapper/vg-data") +
          test::MountLine("8:1", "/mnt/ro", "ext4", "/dev/sda1", "ro,relatime") +
          test::MountLine("0:25", "/tmp", "tmpfs", "tmpfs") +
          test::MountLine("0:30", "/merged", "overlay", "overlay")),
      sys.root());
  struct Case {
    const wchar_t* mountPoint;
    bool fixed;
    platform::StorageBusType bus;
  } const cases[] = {
      {L"/", true, platform::kBusTypeSata},
      {L"/media/usb", true, platform::kBusTypeUsb},  // a USB hard disk is not removable
      {L"/home", true, platform::kBusTypeNvme},
      {L"/srv", true, platform::kBusTypeScsi},
      {L"/var", true, platform::kBusTypeUnknown},
      {L"/media/card", false, platform::kBusTypeSata},
      {L"/media/stick", false, platform::kBusTypeUsb},
      {L"/data", true, platform::kBusTypeUnknown},
      {L"/mnt/ro", false, platform::kBusTypeSata},
      {L"/tmp", false, platform::kBusTypeUnknown},
      {L"/merged", false, platform::kBusTypeUnknown},
  };
  for (const Case& c : cases) {
    const MountPoint* mount = table.At(c.mountPoint);
    ASSERT_NE(mount, nullptr) << c.mountPoint;
    EXPECT_EQ(table.IsFixedDrive(*mount), c.fixed) << c.mountPoint;
    EXPECT_EQ(table.BusType(*mount), c.bus) << c.mountPoint;
  }
}

TEST(MountTable, AMissingSysfsKnowsNoDrives) {
  const MountTable table(platform::ParseMountInfo(test::MountLine("8:1", "/", "ext4", "/dev/sda1")),
                         L"/nonexistent/sys");
  ASSERT_EQ(table.mounts().size(), 1u);
  EXPECT_FALSE(table.IsFixedDrive(table.mounts()[0]));
  EXPECT_EQ(table.BusType(table.mounts()[0]), platform::kBusTypeUnknown);
}

TEST(MountTable, CurrentHasTheRootMount) {
  const MountTable table = MountTable::Current();
  const MountPoint* root = table.Holding(L"/");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->path, L"/");
}

}  // namespace
