#pragma once
// Language texts such as "%0.f%% completed" or "Space available : %.1fGB"
// are printf formats with one floating-point number. They come from the skin,
// so a format is checked before use: one that holds anything but "%%" and at
// most one floating-point directive (flags, width and precision of at most
// two digits) is returned unchanged instead of reaching swprintf.

#include <string>

std::wstring FormatNumberTemplate(const std::wstring& format, double value);
