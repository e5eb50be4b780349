// A file created beside its destination so that it can be renamed onto it
// atomically; removed again unless it was committed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace stubctl {

class TempFile {
 public:
  // Creates ".<target name>.<tag>.XXXXXX" in the target's folder; nullopt
  // with `error` set when that folder cannot be written.
  static std::optional<TempFile> CreateBeside(const std::filesystem::path& target,
                                              std::string_view tag, std::string& error);

  TempFile(TempFile&& other) noexcept;
  TempFile& operator=(TempFile&&) = delete;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile();

  const std::filesystem::path& Path() const { return path_; }

  // Renames the file onto `target`; afterwards it is no longer removed.
  bool CommitTo(const std::filesystem::path& target, std::string& error);

 private:
  explicit TempFile(std::filesystem::path path) : path_(std::move(path)) {}

  std::filesystem::path path_;
};

}  // namespace stubctl
