// stubctl md5 FILE
// The MD5 the stub computes of a package, printed like md5sum.
#include <iostream>

#include "commands.h"
#include "download/file_md5.h"

namespace stubctl {

int Md5Command(const Arguments& args) {
  constexpr std::string_view kName = "md5";
  if (args.size() != 1 || args[0].starts_with("--")) {
    return ReportError(kName, "usage: stubctl md5 FILE");
  }
  // Unlike the stub, which hashes an unopenable package as empty input, a
  // maker asking about a file wants to hear that it is not there.
  const FileMd5 digest = ComputeFileMd5(args[0]);
  if (digest.status != FileMd5Status::kOk) return ReportError(kName, digest.error);
  std::cout << digest.hex << "  " << args[0] << '\n';
  return 0;
}

}  // namespace stubctl
