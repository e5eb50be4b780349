#include "weblog/machine_record.h"

#include "platform/registry_store.h"
#include "platform/utf8.h"
#include "weblog/guid.h"

namespace {

constexpr platform::RegistryHive kHive = platform::RegistryHive::LocalMachine;
constexpr wchar_t kKey[] = L"SOFTWARE\\GuidGuidold";

}  // namespace

std::optional<MachineRecord> ReadMachineRecord() {
  const std::optional<std::wstring> guid =
      platform::RegistryStore::ReadString(kHive, kKey, L"guid");
  if (!guid) return std::nullopt;
  MachineRecord record{platform::ToUtf8(*guid), {}};
  if (!IsGuidText(record.guid)) return std::nullopt;
  const auto userId = platform::RegistryStore::ReadString(kHive, kKey, L"user_id");
  if (userId) record.userId = platform::ToUtf8(*userId);
  return record;
}

bool WriteMachineRecord(const MachineRecord& record) {
  using platform::FromUtf8;
  return platform::RegistryStore::WriteString(kHive, kKey, L"guid", FromUtf8(record.guid)) &&
         platform::RegistryStore::WriteString(kHive, kKey, L"user_id", FromUtf8(record.userId));
}
