#include "ui/image_cache.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdk.h>

#include <easylogging++.h>

namespace ui {
namespace {

// Refuses oversized images before their pixels are allocated: the loader is
// told to scale them to nothing, and the result is dropped.
void OnSizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer too_big) {
  if (width > ImageCache::kMaxDimension || height > ImageCache::kMaxDimension) {
    *static_cast<bool*>(too_big) = true;
    gdk_pixbuf_loader_set_size(loader, 1, 1);
  }
}

}  // namespace

ImageCache::ImageCache() = default;

ImageCache::~ImageCache() { Clear(); }

void ImageCache::Clear() {
  for (auto& [key, surface] : images_) {
    if (surface) cairo_surface_destroy(surface);
  }
  images_.clear();
}

cairo_surface_t* ImageCache::Get(const std::string& key, const Loader& load) {
  const auto it = images_.find(key);
  if (it != images_.end()) return it->second;
  const std::optional<std::string> bytes = load();
  cairo_surface_t* surface = bytes ? Decode(*bytes) : nullptr;
  if (!surface) LOG(INFO) << "skin image " << key << (bytes ? " cannot be decoded" : " is missing");
  images_.emplace(key, surface);
  return surface;
}

cairo_surface_t* ImageCache::Decode(const std::string& bytes) {
  if (bytes.empty()) return nullptr;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  bool too_big = false;
  g_signal_connect(loader, "size-prepared", G_CALLBACK(OnSizePrepared), &too_big);
  GError* error = nullptr;
  const bool written = gdk_pixbuf_loader_write(
      loader, reinterpret_cast<const guchar*>(bytes.data()), bytes.size(), &error);
  // close() must run even after a failed write to release the decoder.
  const bool closed = gdk_pixbuf_loader_close(loader, written ? &error : nullptr);
  if (error) g_error_free(error);
  GdkPixbuf* pixbuf = written && closed && !too_big ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  cairo_surface_t* surface = nullptr;
  if (pixbuf) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, gdk_pixbuf_get_width(pixbuf),
                                         gdk_pixbuf_get_height(pixbuf));
    cairo_t* cr = cairo_create(surface);
    gdk_cairo_set_source_pixbuf(cr, pixbuf, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  g_object_unref(loader);
  return surface;
}

}  // namespace ui
