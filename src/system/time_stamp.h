#pragma once
// Local time to the millisecond as "%.4d%.2d%.2d%.2d%.2d%.2d%.3d", the stamp
// that names log files and diagnostic archives.

#include <string>

std::wstring LocalTimeStamp();
