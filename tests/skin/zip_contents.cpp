#include "zip_contents.h"

#include <zip.h>

#include "fixtures/temp_dir.h"

namespace skintest {

std::optional<std::vector<ZipEntry>> ReadZip(const std::string& bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error)
                          : nullptr;
  zip_error_fini(&error);
  if (archive == nullptr) {
    if (source != nullptr) zip_source_free(source);
    return std::nullopt;
  }
  std::vector<ZipEntry> entries;
  bool ok = true;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_uint64_t i = 0; ok && i < static_cast<zip_uint64_t>(count); ++i) {
    zip_stat_t stat;
    zip_file_t* file = nullptr;
    ok = zip_stat_index(archive, i, ZIP_FL_ENC_STRICT, &stat) == 0 &&
         (file = zip_fopen_index(archive, i, 0)) != nullptr;
    if (!ok) break;
    std::string content(stat.size, '\0');
    ok = zip_fread(file, content.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
    zip_fclose(file);
    entries.push_back({stat.name, content, stat.comp_method, stat.comp_size});
  }
  zip_discard(archive);
  if (!ok) return std::nullopt;
  return entries;
}

std::optional<std::vector<ZipEntry>> ReadZipFile(const std::filesystem::path& file) {
  if (!std::filesystem::is_regular_file(file)) return std::nullopt;
  return ReadZip(test::ReadFile(file));
}

std::vector<std::string> Names(const std::vector<ZipEntry>& entries) {
  std::vector<std::string> names;
  for (const ZipEntry& entry : entries) names.push_back(entry.name);
  return names;
}

}  // namespace skintest
