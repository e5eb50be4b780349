#pragma once
// The session id shared by every funnel report of the process: 32 hex
// digits made on first use and kept; empty while no GUID could be made (the
// next report tries again).

#include <string>

std::string FunnelSessionId();
