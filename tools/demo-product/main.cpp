// brisko: the demo product the demo package installs. It shows that it is
// running and closes by itself; without a display it says so in one line,
// so that headless runs can start it too.
#include <gtk/gtk.h>

#include <cstring>
#include <iostream>

namespace {

constexpr const char* kProduct = "Brisko";
constexpr guint kCloseAfterSeconds = 5;

// The skin's colours: brand blue headings, dark grey text on white.
constexpr const char* kStyle =
    "window { background-color: #FFFFFF; }"
    "#title { color: #1E6FD9; font-size: 28px; font-weight: bold; }"
    "#message { color: #1F2937; font-size: 15px; }"
    "#hint { color: #6B7280; font-size: 12px; }";

GtkWidget* AddLabel(GtkWidget* box, const char* name, const char* text) {
  GtkWidget* label = gtk_label_new(text);
  gtk_widget_set_name(label, name);
  gtk_box_pack_start(GTK_BOX(box), label, FALSE, FALSE, 0);
  return label;
}

gboolean Quit(gpointer) {
  gtk_main_quit();
  return G_SOURCE_REMOVE;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << kProduct << ' ' << BRISKO_VERSION << " (demo product)\n";
      return 0;
    }
  }
  if (!gtk_init_check(&argc, &argv)) {
    std::cout << "The " << kProduct << " demo product is running (no display).\n";
    return 0;
  }
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, kStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), kProduct);
  gtk_window_set_default_size(GTK_WINDOW(window), 440, 220);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  // Any click on the window closes it.
  gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(window, "button-press-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer) {
                     gtk_main_quit();
                     return TRUE;
                   }),
                   nullptr);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  gtk_widget_set_valign(box, GTK_ALIGN_CENTER);
  gtk_container_add(GTK_CONTAINER(window), box);
  AddLabel(box, "title", kProduct);
  AddLabel(box, "message", "The Brisko demo product is running.");
  AddLabel(box, "hint", "This window closes by itself in a few seconds, or on a click.");

  g_timeout_add_seconds(kCloseAfterSeconds, Quit, nullptr);
  gtk_widget_show_all(window);
  std::cout << "The " << kProduct << " demo product is running.\n";
  gtk_main();
  return 0;
}
