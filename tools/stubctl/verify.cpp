// stubctl verify [--anchor PEM] FILE
// Checks a package's appended signature the way the stub does.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

#include "commands.h"
#include "platform/utf8.h"
#include "system/signature.h"

namespace stubctl {

int VerifyCommand(const Arguments& args) {
  constexpr std::string_view kName = "verify";
  std::string anchorFile, target;
  bool usage = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--anchor" && i + 1 < args.size()) {
      anchorFile = args[++i];
    } else if (!args[i].starts_with("--") && target.empty()) {
      target = args[i];
    } else {
      usage = true;
    }
  }
  if (usage || target.empty()) return ReportError(kName, "usage: stubctl verify [--anchor PEM] FILE");
  std::string anchorPem;
  if (!anchorFile.empty()) {
    std::ifstream in(anchorFile, std::ios::binary);
    if (!in) return ReportError(kName, "cannot read the anchor " + anchorFile);
    anchorPem.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const SignatureCheck check = CheckEmbeddedSignature(platform::FromUtf8(target), anchorPem);
  char code[16];
  std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(check.result));
  std::cout << code << ' ' << check.message << '\n';
  return check.verified ? 0 : 1;
}

}  // namespace stubctl
