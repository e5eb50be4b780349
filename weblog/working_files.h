#pragma once
// The switches a user or tester drops into the program's working directory.

#include <string>

// The first line of "proxy.txt" (libcurl's proxy syntax), cut to 254
// characters; empty when the file is missing or its first line is empty.
std::string ReadProxySetting(const std::wstring& directory);

// A readable file named "test": funnel reports go to the test collector.
bool TestMarkerPresent(const std::wstring& directory);
