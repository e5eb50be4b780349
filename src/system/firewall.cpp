#include "system/firewall.h"

#include <cstdio>

#include "platform/utf8.h"

int AuthorizeFirewallApplication(const std::wstring& executablePath) {
  // UTF-8 explicitly: "%ls" would depend on the process locale.
  std::printf("Authorized application %s: no firewall registration on Linux.\n",
              platform::ToUtf8(executablePath).c_str());
  std::fflush(stdout);
  return 0;
}
