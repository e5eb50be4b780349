#include "skin_package.h"

#include <zip.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "commands.h"
#include "platform/utf8.h"
#include "zip/zip_writer.h"

namespace fs = std::filesystem;

namespace stubctl {
namespace {

struct SkinFile {
  std::string entryName;
  fs::path source;
};

bool IsInside(const fs::path& root, const fs::path& candidate) {
  const fs::path relative = candidate.lexically_relative(root);
  return !relative.empty() && relative != "." && *relative.begin() != "..";
}

// Where a directory entry's bytes come from, or nullopt to leave it out.
std::optional<fs::path> SourceOf(const fs::directory_entry& entry, const fs::path& root,
                                 std::string_view command) {
  std::error_code ec;
  if (!entry.is_symlink(ec)) {
    if (entry.is_regular_file(ec)) return entry.path();
    return std::nullopt;
  }
  const fs::path target = fs::canonical(entry.path(), ec);
  if (ec || !IsInside(root, target) || !fs::is_regular_file(target, ec)) {
    ReportWarning(command, "skipping symbolic link " + entry.path().string() +
                               ": it names no file inside the skin folder");
    return std::nullopt;
  }
  return target;
}

std::optional<std::vector<SkinFile>> CollectFiles(const fs::path& root, const fs::path& exclude,
                                                  std::string_view command, std::string& error) {
  std::vector<SkinFile> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::optional<fs::path> source = SourceOf(*it, root, command);
    std::error_code ignored;
    if (!source || fs::weakly_canonical(it->path(), ignored) == exclude) continue;
    files.push_back({it->path().lexically_relative(root).generic_string(), *source});
  }
  if (ec) {
    error = "cannot read " + root.string() + ": " + ec.message();
    return std::nullopt;
  }
  std::sort(files.begin(), files.end(),
            [](const SkinFile& a, const SkinFile& b) { return a.entryName < b.entryName; });
  return files;
}

}  // namespace

bool PackSkinFolder(const fs::path& folder, const fs::path& zipFile, std::string_view command,
                    std::string& error) {
  std::error_code ec;
  const fs::path root = fs::canonical(folder, ec);
  if (ec || !fs::is_directory(root)) {
    error = "skin folder not found: " + folder.string();
    return false;
  }
  const std::optional<std::vector<SkinFile>> files =
      CollectFiles(root, fs::weakly_canonical(zipFile, ec), command, error);
  if (!files) return false;

  std::unique_ptr<ZipWriter> writer = ZipWriter::Create(platform::FromUtf8(zipFile.string()));
  if (!writer) {
    error = "cannot write " + zipFile.string();
    return false;
  }
  for (const SkinFile& file : *files) {
    if (!writer->AddFile(platform::FromUtf8(file.entryName),
                         platform::FromUtf8(file.source.string()))) {
      error = writer->LastError();
      return false;
    }
  }
  if (!writer->Close()) {
    error = writer->LastError();
    return false;
  }
  return true;
}

bool CheckSkinPackage(const fs::path& zipFile, std::string_view command, std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(zipFile.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    zip_error_t reason;
    zip_error_init_with_code(&reason, code);
    error = zipFile.string() + " is no readable ZIP archive: " + zip_error_strerror(&reason);
    zip_error_fini(&reason);
    return false;
  }
  // The UI library accepts either separator in package paths.
  const bool configured = zip_name_locate(archive, "configure/configure.xml", 0) >= 0 ||
                          zip_name_locate(archive, "configure\\configure.xml", 0) >= 0;
  zip_discard(archive);
  if (!configured) {
    ReportWarning(command, zipFile.string() +
                               " carries no configure/configure.xml; the stub will have no "
                               "product configuration");
  }
  return true;
}

}  // namespace stubctl
