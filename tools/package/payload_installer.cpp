#include "payload_installer.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace package {
namespace {

struct Entry {
  zip_uint64_t index;
  std::string name;
  bool folder;
  mode_t mode;
};

// A written file waiting under its temporary name.
struct Pending {
  fs::path temp;
  fs::path target;
  std::string name;
  std::uint64_t size;
};

// What a run has written so far; a run that fails removes its temporary
// files and the folders it created, so that it leaves the disk as it was.
class Trail {
 public:
  ~Trail() {
    if (done_) return;
    for (const Pending& file : files_) ::unlink(file.temp.c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      ::rmdir(folder->c_str());
    }
  }

  // Creates `folder` and its missing parents, noting each one made; the
  // error names the folder that could not be made and why.
  bool CreateFolders(const fs::path& folder, std::string& error) {
    fs::path walked;
    for (const fs::path& part : folder) {
      walked /= part;
      if (::mkdir(walked.c_str(), 0755) == 0) {
        folders_.push_back(walked);
      } else if (errno != EEXIST || !fs::is_directory(walked)) {
        error = walked.string() + ": " +
                (errno == EEXIST ? "a file is in the way" : std::strerror(errno));
        return false;
      }
    }
    return true;
  }

  std::vector<Pending>& Files() { return files_; }
  void Done() { done_ = true; }

 private:
  std::vector<Pending> files_;
  std::vector<fs::path> folders_;
  bool done_ = false;
};

struct DiscardArchive {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct CloseEntry {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

// Relative, and never climbing: the package must not write outside DIR.
bool IsContained(const std::string& name) {
  if (name.empty() || name.front() == '/') return false;
  for (const fs::path& part : fs::path(name)) {
    if (part == "..") return false;
  }
  return true;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

std::string ZipError(zip_error_t* error) {
  const std::string text = zip_error_strerror(error);
  zip_error_fini(error);
  return text;
}

std::optional<std::vector<Entry>> ReadEntries(zip_t* archive, std::string& error) {
  std::vector<Entry> entries;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
    if (raw == nullptr) {
      error = "the payload is corrupt: " + std::string(zip_strerror(archive));
      return std::nullopt;
    }
    std::string name = raw;
    if (!IsContained(name)) {
      error = "the payload entry \"" + name + "\" points outside the installation folder";
      return std::nullopt;
    }
    const bool folder = name.back() == '/';
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(archive, index, 0, &system, &attributes);
    const bool executable = system == ZIP_OPSYS_UNIX && ((attributes >> 16) & 0111) != 0;
    entries.push_back({index, std::move(name), folder, executable ? 0755u : 0644u});
  }
  if (entries.empty()) {
    error = "the payload is empty";
    return std::nullopt;
  }
  return entries;
}

bool WriteTemporary(zip_t* archive, const Entry& entry, const fs::path& target, Trail& trail,
                    std::string& error) {
  if (!trail.CreateFolders(target.parent_path(), error)) {
    error = "cannot create the folder " + error;
    return false;
  }
  std::string hidden = ".";
  hidden += target.filename().string();
  hidden += ".install-XXXXXX";
  std::string pattern = (target.parent_path() / hidden).string();
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    error = "cannot write " + target.string() + ": " + std::strerror(errno);
    return false;
  }
  trail.Files().push_back({pattern, target, entry.name, 0});
  Pending& pending = trail.Files().back();
  std::unique_ptr<zip_file_t, CloseEntry> in(zip_fopen_index(archive, entry.index, 0));
  bool ok = in != nullptr;
  if (!ok) error = "the payload is corrupt: " + std::string(zip_strerror(archive));
  std::vector<char> buffer(1 << 20);
  while (ok) {
    const zip_int64_t got = zip_fread(in.get(), buffer.data(), buffer.size());
    if (got < 0) {
      error = "the payload is corrupt: " + std::string(zip_file_strerror(in.get()));
      ok = false;
    } else if (got == 0) {
      break;
    } else if (!WriteAll(fd, buffer.data(), static_cast<std::size_t>(got))) {
      error = "cannot write " + target.string() + ": " + std::strerror(errno);
      ok = false;
    } else {
      pending.size += static_cast<std::uint64_t>(got);
    }
  }
  if (ok && ::fchmod(fd, entry.mode) != 0) {
    error = "cannot set the mode of " + target.string() + ": " + std::strerror(errno);
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = "cannot write " + target.string() + ": " + std::strerror(errno);
    ok = false;
  }
  return ok;
}

}  // namespace

bool InstallPayload(const std::string& packagePath, PayloadRange range, const fs::path& dir,
                    InstallLog& log, InstallTotals& totals, std::string& error) {
  zip_error_t zipError;
  zip_error_init(&zipError);
  std::FILE* file = std::fopen(packagePath.c_str(), "rbe");
  if (file == nullptr) {
    error = "cannot read the package " + packagePath + ": " + std::strerror(errno);
    return false;
  }
  zip_source_t* source = zip_source_filep_create(file, range.offset,
                                                 static_cast<zip_int64_t>(range.length), &zipError);
  if (source == nullptr) {
    std::fclose(file);
    error = "cannot read the payload: " + ZipError(&zipError);
    return false;
  }
  std::unique_ptr<zip_t, DiscardArchive> archive(
      zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &zipError));
  if (!archive) {
    zip_source_free(source);
    error = "the payload is corrupt: " + ZipError(&zipError);
    return false;
  }
  zip_error_fini(&zipError);

  const std::optional<std::vector<Entry>> entries = ReadEntries(archive.get(), error);
  if (!entries) return false;
  Trail trail;
  if (!trail.CreateFolders(dir, error)) {
    error = "cannot create the installation folder " + error;
    return false;
  }
  for (const Entry& entry : *entries) {
    const fs::path target = dir / fs::path(entry.name).relative_path();
    if (entry.folder && !trail.CreateFolders(target, error)) {
      error = "cannot create the folder " + error;
      return false;
    }
    if (!entry.folder && !WriteTemporary(archive.get(), entry, target, trail, error)) return false;
  }
  std::vector<Pending>& files = trail.Files();
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (std::rename(files[i].temp.c_str(), files[i].target.c_str()) != 0) {
      error = "cannot write " + files[i].target.string() + ": " + std::strerror(errno);
      // The files already in place stay; only the rest is removed.
      files.erase(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(i));
      return false;
    }
    log.Line("Installed: " + files[i].name + " (" + std::to_string(files[i].size) + " bytes)");
    ++totals.files;
    totals.bytes += files[i].size;
  }
  trail.Done();
  return true;
}

}  // namespace package
