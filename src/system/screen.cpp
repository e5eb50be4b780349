#include "system/screen.h"

#include <gdk/gdk.h>

double GetScreenResolution(std::int32_t& width, std::int32_t& height) {
  width = 0;
  height = 0;
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return 1.0;
  // Wayland names no primary monitor; its first one stands in.
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return 1.0;
  GdkRectangle area{};
  gdk_monitor_get_geometry(monitor, &area);
  const int scale = gdk_monitor_get_scale_factor(monitor);
  width = area.width * scale;
  height = area.height * scale;
  return scale;
}
