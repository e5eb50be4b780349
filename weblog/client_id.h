#pragma once
// The analytics client id of this machine: the root file system's id as
// "%X" followed by the MAC address of the adapter that routes to the
// internet as "%02X" six times. A part that cannot be determined is empty.

#include <string>

std::string AnalyticsClientId();
