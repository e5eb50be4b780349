#pragma once
// Size of the primary screen, by which the windows choose their layout.
//
// Linux: the primary monitor of the display GDK has open (the UI opens it);
// width and height in device pixels, and the monitor's scale factor (device
// pixels per layout pixel). Without an open display: 0, 0 and 1.0. Call it
// on the UI thread, like every GDK call.

#include <cstdint>

double GetScreenResolution(std::int32_t& width, std::int32_t& height);
