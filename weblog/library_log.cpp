#include "weblog/library_log.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/paths.h"
#include "platform/utf8.h"

namespace {

// One lock for every log object: they all share the one file.
std::mutex g_fileMutex;

}  // namespace

LibraryLog::LibraryLog(std::wstring folder) : folder_(std::move(folder)) {}

std::wstring LibraryLog::DefaultFolder() { return platform::GetExecutableDir() + L"Logs"; }

void LibraryLog::Append(std::string_view message) const {
  std::error_code error;
  const std::string folder = platform::ToUtf8(folder_);
  if (!std::filesystem::is_directory(folder, error)) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "[%u/%u/%u-%u:%u:%u] ",
                static_cast<unsigned>(local.tm_year + 1900),
                static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday),
                static_cast<unsigned>(local.tm_hour), static_cast<unsigned>(local.tm_min),
                static_cast<unsigned>(local.tm_sec));
  std::lock_guard<std::mutex> guard(g_fileMutex);
  std::ofstream file(folder + "/.log", std::ios::app | std::ios::binary);
  file << prefix << message;
}
