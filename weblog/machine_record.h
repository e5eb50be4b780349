#pragma once
// This machine's identity on the log service, kept across runs in the
// registry value pair "guid" / "user_id" of HKEY_LOCAL_MACHINE
// "SOFTWARE\GuidGuidold" (platform::RegistryStore).

#include <optional>
#include <string>

struct MachineRecord {
  std::string guid;
  std::string userId;  // empty when the value is missing
};

// nullopt when the record is missing or its guid is no GUID text (a damaged
// record is then replaced by a new identity).
std::optional<MachineRecord> ReadMachineRecord();
// Creates the key when needed; false when the store cannot be written.
bool WriteMachineRecord(const MachineRecord& record);
