#pragma once
// The maker's services as the stub sees them: fixed answers, the product
// configuration from a file, and a folder for uploaded logs.

#include <httplib.h>

#include <filesystem>
#include <optional>

struct RouteSettings {
  std::filesystem::path answerFile;                      // served by /queryDownloader
  std::optional<std::filesystem::path> uploadsDir;       // no folder: uploads are not kept
  std::optional<std::filesystem::path> softwareLogFile;  // the log service's base-URL file
  int port = 0;                                          // the one the server listens on
};

void InstallRoutes(httplib::Server& server, const RouteSettings& settings);
