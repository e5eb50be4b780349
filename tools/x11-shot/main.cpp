// Saves the whole X screen as a PNG: the demo's and the tests' eyes under a
// virtual display, where no screenshot tool is installed.
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: x11-shot <output.png>\n");
    return 1;
  }
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "x11-shot: cannot open the display\n");
    return 1;
  }
  GdkWindow* root = gdk_get_default_root_window();
  GdkPixbuf* shot = gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root),
                                               gdk_window_get_height(root));
  GError* error = nullptr;
  if (!shot || !gdk_pixbuf_save(shot, argv[1], "png", &error, nullptr)) {
    std::fprintf(stderr, "x11-shot: %s\n", error ? error->message : "no image of the screen");
    return 1;
  }
  g_object_unref(shot);
  return 0;
}
