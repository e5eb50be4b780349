#pragma once
// Sends every line of the one log (logger "default", Info level) to standard
// output and to the given file.

#include <string>

void ConfigureLogFile(const std::wstring& logPath);
