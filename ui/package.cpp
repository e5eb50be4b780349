#include "ui/package.h"

#include <zip.h>

#include <easylogging++.h>

namespace ui {
namespace {

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

std::string Package::NormalizePath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '\\') c = '/';
    if (c == '/' && (out.empty() || out.back() == '/')) continue;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    out.push_back(c);
  }
  while (out.starts_with("./")) out.erase(0, 2);
  return out;
}

std::shared_ptr<Package> Package::FromMemory(std::vector<unsigned char> bytes,
                                             std::string* error) {
  if (bytes.empty()) {
    SetError(error, "skin package is empty");
    return nullptr;
  }
  zip_error_t zerror;
  zip_error_init(&zerror);
  zip_source_t* source =
      zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zerror);
  if (!source) {
    SetError(error, std::string("skin package: ") + zip_error_strerror(&zerror));
    zip_error_fini(&zerror);
    return nullptr;
  }
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &zerror);
  if (!archive) {
    SetError(error, std::string("skin package is not a valid ZIP: ") +
                        zip_error_strerror(&zerror));
    zip_error_fini(&zerror);
    zip_source_free(source);
    return nullptr;
  }
  zip_error_fini(&zerror);
  // The vector's heap buffer does not move with the vector, so the source
  // stays valid once the bytes are owned by the package.
  return std::shared_ptr<Package>(new Package(std::move(bytes), archive));
}

Package::Package(std::vector<unsigned char> bytes, zip* archive)
    : bytes_(std::move(bytes)), archive_(archive) {
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive_, i, ZIP_FL_ENC_GUESS);
    if (!name) continue;
    const std::string key = NormalizePath(name);
    if (key.empty() || key.back() == '/') continue;  // directories
    index_.emplace(key, i);  // the first of duplicate names wins
  }
}

Package::~Package() { zip_discard(archive_); }

std::optional<long long> Package::Find(std::string_view path) const {
  const auto it = index_.find(NormalizePath(path));
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

bool Package::Exists(std::string_view path) const { return Find(path).has_value(); }

std::optional<std::string> Package::Read(std::string_view path) const {
  const auto index = Find(path);
  if (!index) return std::nullopt;
  std::lock_guard lock(mutex_);
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_, *index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
    LOG(INFO) << "skin entry " << path << ": no size";
    return std::nullopt;
  }
  if (stat.size > kMaxEntrySize) {
    LOG(INFO) << "skin entry " << path << " is too large (" << stat.size << " bytes)";
    return std::nullopt;
  }
  zip_file_t* file = zip_fopen_index(archive_, *index, 0);
  if (!file) {
    LOG(INFO) << "skin entry " << path << ": " << zip_strerror(archive_);
    return std::nullopt;
  }
  std::string data(stat.size, '\0');
  zip_uint64_t done = 0;
  while (done < stat.size) {
    const zip_int64_t n = zip_fread(file, data.data() + done, stat.size - done);
    if (n <= 0) break;
    done += static_cast<zip_uint64_t>(n);
  }
  // One more read makes libzip verify the CRC at the end of the entry.
  char extra;
  const bool intact = done == stat.size && zip_fread(file, &extra, 1) == 0;
  if (!intact) {
    LOG(INFO) << "skin entry " << path << " is damaged: " << zip_file_strerror(file);
  }
  zip_fclose(file);
  if (!intact) return std::nullopt;
  return data;
}

}  // namespace ui
