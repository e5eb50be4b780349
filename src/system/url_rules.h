#pragma once
// Plain, case-sensitive substring rules on package URLs.

#include <string>

// The URL names a CDN or download-mirror host: it contains "cdn." or "dl."
// anywhere, also in its path.
bool isCdnUrl(const std::string& url);
bool isCdnUrl(const std::wstring& url);

// A package URL is a candidate when it is not empty and no CDN URL.
bool IsCandidateUrl(const std::wstring& url);

// The text between the URL's last "/" and the first "." after it; empty when
// the URL has no "/" or no "." after it.
std::wstring PackageNameOfUrl(const std::wstring& url);

// The URL's last path segment cut before its last "." (the whole segment
// without "."); the whole text when it has no "/".
std::wstring PackageStemOfUrl(const std::wstring& url);

// Whether a package URL or file name names an installer: at most three
// characters long, or ending in ".exe" (case-sensitive).
bool IsExeName(const std::wstring& text);
