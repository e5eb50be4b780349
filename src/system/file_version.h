#pragma once
// Version information of a file, as the Windows version resource gives it.
//
// Linux: executables carry no version resource. The running executable
// answers with the build's version (the project version) and the product's
// strings; any other file has no version information.

#include <string>

struct FileVersionStrings {
  std::wstring productName;
  std::wstring productVersion;
  std::wstring legalCopyright;
  std::wstring fileDescription;
};

// "%d.%d.%d.%d"; empty without version information.
std::string GetFileVersionText(const std::wstring& file);
// The same as wide text.
std::wstring GetFileVersionTextW(const std::wstring& file);

// All empty without version information.
FileVersionStrings GetFileVersionStrings(const std::wstring& file);
