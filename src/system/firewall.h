#pragma once
// Registration of the running executable as an authorised application of
// the firewall, so that its downloads are not blocked.
//
// Linux: desktop firewalls filter by port and zone, not by program, so
// there is nothing to register. The function reports that on standard
// output, where the Windows program reports its steps, and succeeds.

#include <string>

// Always 0: there is nothing that can fail.
int AuthorizeFirewallApplication(const std::wstring& executablePath);
