// Saves the X screen, or a rectangle of it, as a PNG: the demo's eyes under
// a virtual display, where no screenshot tool is installed.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: x11-shot <output.png> [x y width height]\n");
    return 1;
  }
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "x11-shot: cannot open the display\n");
    return 1;
  }
  GdkWindow* root = gdk_get_default_root_window();
  int x = 0, y = 0, width = gdk_window_get_width(root), height = gdk_window_get_height(root);
  if (argc == 6) {
    x = std::atoi(argv[2]);
    y = std::atoi(argv[3]);
    width = std::atoi(argv[4]);
    height = std::atoi(argv[5]);
  }
  GdkPixbuf* shot = width > 0 && height > 0 ? gdk_pixbuf_get_from_window(root, x, y, width, height)
                                            : nullptr;
  GError* error = nullptr;
  if (!shot || !gdk_pixbuf_save(shot, argv[1], "png", &error, nullptr)) {
    std::fprintf(stderr, "x11-shot: %s\n", error ? error->message : "no image of the screen");
    return 1;
  }
  g_object_unref(shot);
  return 0;
}
