// stubctl make-package --payload DIR --out FILE [--key KEY --cert CERT]
//                      [--installer PATH]
// Writes a self-installing package (package_layout.h): the installer
// program, a ZIP of the payload folder and the payload trailer; with a key
// and a certificate it is then signed as `stubctl sign` signs.
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <vector>

#include "commands.h"
#include "elf_header.h"
#include "package_layout.h"
#include "platform/paths.h"
#include "platform/utf8.h"
#include "temp_file.h"

namespace fs = std::filesystem;

namespace stubctl {
namespace {

constexpr std::string_view kName = "make-package";
constexpr std::string_view kUsage =
    "usage: stubctl make-package --payload DIR --out FILE [--key KEY --cert CERT] "
    "[--installer PATH]";

struct PayloadEntry {
  fs::path source;
  std::string name;  // relative, '/' between folders, folders end in '/'
  bool folder;
  bool executable;
};

// Sorted, so that the same folder always gives the same archive.
std::optional<std::vector<PayloadEntry>> ListPayload(const fs::path& root, std::string& error) {
  std::vector<PayloadEntry> entries;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    const fs::file_status status = it->symlink_status(ec);
    if (ec) break;
    const std::string name = it->path().lexically_relative(root).generic_string();
    if (fs::is_directory(status)) {
      entries.push_back({it->path(), name + "/", true, false});
    } else if (fs::is_regular_file(status)) {
      const bool executable = (status.permissions() & fs::perms::owner_exec) != fs::perms::none;
      entries.push_back({it->path(), name, false, executable});
    } else {
      error = "the payload holds " + it->path().string() +
              ", which is neither a file nor a folder (links are not packaged)";
      return std::nullopt;
    }
  }
  if (ec) {
    error = "cannot read the payload folder " + root.string() + ": " + ec.message();
    return std::nullopt;
  }
  if (std::none_of(entries.begin(), entries.end(), [](const PayloadEntry& e) { return !e.folder; })) {
    error = "the payload folder " + root.string() + " holds no file";
    return std::nullopt;
  }
  std::sort(entries.begin(), entries.end(),
            [](const PayloadEntry& a, const PayloadEntry& b) { return a.name < b.name; });
  return entries;
}

// Deflating random data only makes it larger and slower to install; a
// sample from the start of the file decides.
bool Compresses(const fs::path& file) {
  std::vector<char> sample(64 * 1024);
  std::ifstream in(file, std::ios::binary);
  in.read(sample.data(), static_cast<std::streamsize>(sample.size()));
  const auto size = static_cast<uLong>(in.gcount());
  if (size == 0) return false;
  std::vector<Bytef> packed(compressBound(size));
  uLongf packedSize = packed.size();
  if (compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(sample.data()), size,
                Z_BEST_SPEED) != Z_OK) {
    return false;
  }
  return packedSize < size - size / 10;
}

bool WritePayloadZip(const std::vector<PayloadEntry>& entries, const fs::path& zipFile,
                     std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(zipFile.c_str(), ZIP_TRUNCATE, &code);
  if (archive == nullptr) {
    zip_error_t zipError;
    zip_error_init_with_code(&zipError, code);
    error = "cannot write " + zipFile.string() + ": " + zip_error_strerror(&zipError);
    zip_error_fini(&zipError);
    return false;
  }
  for (const PayloadEntry& entry : entries) {
    zip_int64_t index = -1;
    if (entry.folder) {
      index = zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_UTF_8);
    } else if (zip_source_t* source = zip_source_file(archive, entry.source.c_str(), 0, -1)) {
      index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
      if (index < 0) zip_source_free(source);
    }
    const zip_uint32_t mode = entry.folder ? 040755 : entry.executable ? 0100755 : 0100644;
    const auto at = static_cast<zip_uint64_t>(index);
    if (index < 0 ||
        zip_set_file_compression(archive, at,
                                 !entry.folder && Compresses(entry.source) ? ZIP_CM_DEFLATE
                                                                           : ZIP_CM_STORE,
                                 0) != 0 ||
        zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX, mode << 16) != 0) {
      error = "cannot add " + entry.source.string() + ": " + zip_strerror(archive);
      zip_discard(archive);
      return false;
    }
  }
  // The file contents are read here, so a file that became unreadable fails now.
  if (zip_close(archive) != 0) {
    error = "cannot write the payload archive: " + std::string(zip_strerror(archive));
    zip_discard(archive);
    return false;
  }
  return true;
}

bool WritePackage(const fs::path& installer, const fs::path& zipFile, const fs::path& out,
                  std::string& error) {
  std::ifstream program(installer, std::ios::binary);
  std::ifstream payload(zipFile, std::ios::binary);
  std::ofstream package(out, std::ios::binary | std::ios::trunc);
  std::error_code ec;
  const std::uintmax_t payloadLength = fs::file_size(zipFile, ec);
  if (!program || !payload || !package || ec) {
    error = "cannot assemble the package in " + out.string();
    return false;
  }
  package << program.rdbuf() << payload.rdbuf()
          << package::MakePayloadTrailer(static_cast<std::uint64_t>(payloadLength));
  package.close();
  if (!package || program.bad() || payload.bad()) {
    error = "cannot write " + out.string() + " (disk full?)";
    return false;
  }
  fs::permissions(out, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec, ec);
  if (ec) {
    error = "cannot make " + out.string() + " executable: " + ec.message();
    return false;
  }
  return true;
}

}  // namespace

int MakePackageCommand(const Arguments& args) {
  std::string payloadDir, outFile, keyFile, certFile, installerFile;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* value = arg == "--payload"     ? &payloadDir
                         : arg == "--out"       ? &outFile
                         : arg == "--key"       ? &keyFile
                         : arg == "--cert"      ? &certFile
                         : arg == "--installer" ? &installerFile
                                                : nullptr;
    if (value == nullptr || i + 1 >= args.size()) return ReportError(kName, std::string(kUsage));
    *value = args[++i];
  }
  if (payloadDir.empty() || outFile.empty() || keyFile.empty() != certFile.empty()) {
    return ReportError(kName, std::string(kUsage));
  }
  // Both programs land at the top of the build tree, and are installed together.
  const fs::path installer = installerFile.empty()
                                 ? fs::path(platform::ToUtf8(platform::GetExecutableDir())) /
                                       "package-installer"
                                 : fs::path(installerFile);
  const fs::path out = outFile;

  std::error_code ec;
  if (!fs::is_directory(payloadDir, ec)) {
    return ReportError(kName, "payload folder not found: " + payloadDir);
  }
  if (!fs::is_regular_file(installer, ec) || !IsElf64LittleEndian(installer)) {
    return ReportError(kName, "installer program not found or not an ELF64 executable: " +
                                  installer.string() + " (give it with --installer PATH)");
  }
  if (fs::is_directory(out, ec)) return ReportError(kName, "output " + outFile + " is a folder");

  std::string error;
  const std::optional<std::vector<PayloadEntry>> entries = ListPayload(payloadDir, error);
  if (!entries) return ReportError(kName, error);
  std::optional<TempFile> zipFile = TempFile::CreateBeside(out, "payload", error);
  std::optional<TempFile> packageFile =
      zipFile ? TempFile::CreateBeside(out, "package", error) : std::nullopt;
  if (!packageFile || !WritePayloadZip(*entries, zipFile->Path(), error) ||
      !WritePackage(installer, zipFile->Path(), packageFile->Path(), error)) {
    return ReportError(kName, error);
  }
  if (!keyFile.empty() &&
      SignFile(keyFile, certFile, "", packageFile->Path().string(), kName) != 0) {
    return ReportError(kName, "the package was not signed; " + outFile + " is left as it was");
  }
  if (!packageFile->CommitTo(out, error)) return ReportError(kName, error);
  std::cout << "stubctl make-package: wrote " << outFile << " (" << entries->size()
            << " entries, " << fs::file_size(out, ec) << " bytes"
            << (keyFile.empty() ? "" : ", signed") << ")\n";
  return 0;
}

}  // namespace stubctl
