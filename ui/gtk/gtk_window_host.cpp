#include "ui/gtk/gtk_window_host.h"

#include "ui/cairo_shapes.h"
#include "ui/paint_manager.h"
#include "platform/utf8.h"

namespace ui {
namespace {

GtkWindowHost* Self(gpointer self) { return static_cast<GtkWindowHost*>(self); }

}  // namespace

GtkWindowHost::GtkWindowHost(Delegate& delegate, PaintManager& manager, GtkWindowHost* owner,
                             const std::wstring& class_name, Size client)
    : delegate_(delegate),
      manager_(manager),
      window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      area_(gtk_drawing_area_new()) {
  gtk_widget_set_name(window_, platform::ToUtf8(class_name).c_str());
  gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  gtk_widget_set_app_paintable(window_, TRUE);
  if (owner) gtk_window_set_transient_for(GTK_WINDOW(window_), GTK_WINDOW(owner->window_));
  gtk_widget_add_events(area_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                   GDK_BUTTON_RELEASE_MASK | GDK_LEAVE_NOTIFY_MASK |
                                   GDK_SCROLL_MASK);
  gtk_container_add(GTK_CONTAINER(window_), area_);
  ResizeClient(client.width, client.height);

  g_signal_connect(area_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(area_, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(area_, "button-press-event", G_CALLBACK(OnButtonPress), this);
  g_signal_connect(area_, "button-release-event", G_CALLBACK(OnButtonRelease), this);
  g_signal_connect(area_, "scroll-event", G_CALLBACK(OnScroll), this);
  g_signal_connect(area_, "leave-notify-event", G_CALLBACK(OnLeave), this);
  g_signal_connect(area_, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
}

GtkWindowHost::~GtkWindowHost() {
  g_signal_handlers_disconnect_by_data(area_, this);
  g_signal_handlers_disconnect_by_data(window_, this);
  gtk_widget_destroy(window_);
}

void GtkWindowHost::SetTitle(const std::wstring& title) {
  gtk_window_set_title(GTK_WINDOW(window_), platform::ToUtf8(title).c_str());
}

void GtkWindowHost::Show(bool show, bool take_focus) {
  if (!show) {
    gtk_widget_hide(window_);
    return;
  }
  gtk_window_set_focus_on_map(GTK_WINDOW(window_), take_focus);
  gtk_widget_show_all(window_);
  if (take_focus) gtk_window_present(GTK_WINDOW(window_));
}

void GtkWindowHost::Present() { gtk_window_present(GTK_WINDOW(window_)); }

void GtkWindowHost::Minimize() { gtk_window_iconify(GTK_WINDOW(window_)); }

void GtkWindowHost::Center() {
  GtkWindow* owner = gtk_window_get_transient_for(GTK_WINDOW(window_));
  GdkRectangle area{0, 0, 0, 0};
  if (owner) {
    gtk_window_get_position(owner, &area.x, &area.y);
    gtk_window_get_size(owner, &area.width, &area.height);
  } else {
    GdkDisplay* display = gtk_widget_get_display(window_);
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    if (!monitor) return;
    gdk_monitor_get_workarea(monitor, &area);
  }
  gtk_window_move(GTK_WINDOW(window_), area.x + (area.width - client_.width) / 2,
                  area.y + (area.height - client_.height) / 2);
}

Rect GtkWindowHost::GetRect() const {
  int x = 0, y = 0;
  gtk_window_get_position(GTK_WINDOW(window_), &x, &y);
  return Rect{x, y, x + client_.width, y + client_.height};
}

void GtkWindowHost::Move(int x, int y) { gtk_window_move(GTK_WINDOW(window_), x, y); }

void GtkWindowHost::ResizeClient(int width, int height) {
  // The window is not resizable, so it takes exactly the area's size.
  client_ = Size{std::max(width, 1), std::max(height, 1)};
  gtk_widget_set_size_request(area_, client_.width, client_.height);
  gtk_window_resize(GTK_WINDOW(window_), client_.width, client_.height);
}

void GtkWindowHost::Invalidate(const Rect& rect) {
  gtk_widget_queue_draw_area(area_, rect.left, rect.top, rect.Width(), rect.Height());
}

void GtkWindowHost::UpdateCursor(int x, int y) {
  const bool hand = manager_.IsClickableAt(x, y);
  if (hand == hand_cursor_) return;
  hand_cursor_ = hand;
  GdkWindow* window = gtk_widget_get_window(area_);
  if (!window) return;
  GdkCursor* cursor =
      hand ? gdk_cursor_new_from_name(gdk_window_get_display(window), "pointer") : nullptr;
  gdk_window_set_cursor(window, cursor);
  if (cursor) g_object_unref(cursor);
}

void GtkWindowHost::UpdateShape(int width, int height) {
  const Size round = manager_.GetWindowAttributes().round_corner;
  if (round.IsEmpty() || width <= 0 || height <= 0) return;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A1, width, height);
  cairo_t* cr = cairo_create(mask);
  RoundedRectPath(cr, Rect{0, 0, width, height}, round);
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_region_t* region = gdk_cairo_region_create_from_surface(mask);
  gtk_widget_shape_combine_region(window_, region);
  cairo_region_destroy(region);
  cairo_surface_destroy(mask);
}

// The handlers below hand the event on last: a notification raised by the
// manager may close the window and destroy this host.

gboolean GtkWindowHost::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  Self(self)->manager_.Paint(cr);
  return TRUE;
}

gboolean GtkWindowHost::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  const int x = static_cast<int>(event->x);
  const int y = static_cast<int>(event->y);
  Self(self)->UpdateCursor(x, y);
  Self(self)->manager_.OnMouseMove(x, y);
  return TRUE;
}

gboolean GtkWindowHost::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  if (event->button != GDK_BUTTON_PRIMARY || event->type != GDK_BUTTON_PRESS) return FALSE;
  const int x = static_cast<int>(event->x);
  const int y = static_cast<int>(event->y);
  GtkWindowHost* host = Self(self);
  if (host->manager_.IsCaptionAt(x, y)) {
    gtk_window_begin_move_drag(GTK_WINDOW(host->window_), static_cast<int>(event->button),
                               static_cast<int>(event->x_root), static_cast<int>(event->y_root),
                               event->time);
    return TRUE;
  }
  host->manager_.OnMouseDown(x, y);
  return TRUE;
}

gboolean GtkWindowHost::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
  if (event->button != GDK_BUTTON_PRIMARY) return FALSE;
  Self(self)->manager_.OnMouseUp(static_cast<int>(event->x), static_cast<int>(event->y));
  return TRUE;
}

gboolean GtkWindowHost::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
  const int notches = event->direction == GDK_SCROLL_DOWN ? 1
                      : event->direction == GDK_SCROLL_UP ? -1
                                                          : 0;
  if (notches != 0) {
    Self(self)->manager_.OnMouseWheel(static_cast<int>(event->x), static_cast<int>(event->y),
                                      notches);
  }
  return TRUE;
}

gboolean GtkWindowHost::OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  if (event->mode == GDK_CROSSING_NORMAL) Self(self)->manager_.OnMouseLeave();
  return FALSE;
}

gboolean GtkWindowHost::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  Self(self)->delegate_.OnCloseRequested();
  return TRUE;  // the window decides itself whether and when it goes away
}

void GtkWindowHost::OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self) {
  Self(self)->UpdateShape(allocation->width, allocation->height);
  Self(self)->delegate_.OnClientSizeChanged(allocation->width, allocation->height);
}

}  // namespace ui
