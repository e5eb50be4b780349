// Small fixtures shared by the platform tests.
#pragma once

#include <optional>
#include <string>

namespace platform_test {

// A fresh directory per test, removed with everything in it afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // UTF-8 path without trailing '/'.
  const std::string& path() const { return path_; }
  std::wstring wpath() const;
  // path() + "/" + name
  std::string File(const std::string& name) const;
  std::wstring WFile(const std::string& name) const;

 private:
  std::string path_;
};

// Sets (or, with nullopt, removes) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

}  // namespace platform_test
