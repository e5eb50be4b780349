#ifndef UI_GTK_GTK_WINDOW_HOST_H_
#define UI_GTK_GTK_WINDOW_HOST_H_

#include <gtk/gtk.h>

#include "ui/native_window.h"

namespace ui {

// An undecorated GtkWindow showing a PaintManager: drawing, mouse input,
// dragging by the caption, closing through the delegate and the rounded
// shape of `roundcorner`.
class GtkWindowHost : public NativeWindow {
 public:
  GtkWindowHost(Delegate& delegate, PaintManager& manager, GtkWindowHost* owner,
                const std::wstring& class_name, Size client);
  ~GtkWindowHost() override;

  GtkWidget* GetWidget() const { return window_; }

  bool IsHeadless() const override { return false; }
  void SetTitle(const std::wstring& title) override;
  void Show(bool show, bool take_focus) override;
  void Present() override;
  void Minimize() override;
  void Center() override;
  Rect GetRect() const override;
  void Move(int x, int y) override;
  void ResizeClient(int width, int height) override;
  void Invalidate(const Rect& rect) override;

 private:
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
  static gboolean OnLeave(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static void OnSizeAllocate(GtkWidget* widget, GdkRectangle* allocation, gpointer self);

  void UpdateCursor(int x, int y);
  void UpdateShape(int width, int height);

  Delegate& delegate_;
  PaintManager& manager_;
  GtkWidget* window_;
  GtkWidget* area_;
  bool hand_cursor_ = false;
  // The size asked for: GTK reports a window's real size only once it is
  // mapped, and centring happens before that.
  Size client_;
};

}  // namespace ui

#endif  // UI_GTK_GTK_WINDOW_HOST_H_
