#pragma once
// The name the downloaded package is stored under.

#include <string>

// The URL's stem (PackageStemOfUrl) + "_" + `tag` + ".exe" when the URL names
// an installer (IsExeName), else ".apk".
std::wstring PackageFileNameOfUrl(const std::wstring& url, const std::wstring& tag);
