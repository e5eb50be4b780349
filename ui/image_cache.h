#ifndef UI_IMAGE_CACHE_H_
#define UI_IMAGE_CACHE_H_

#include <functional>
#include <map>
#include <optional>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace ui {

// Decoded skin images (PNG, JPEG, GIF, ...) of one window, kept as cairo
// surfaces. Images that fail to load are remembered as missing.
class ImageCache {
 public:
  // Largest width or height accepted; bigger images are refused unread.
  static constexpr int kMaxDimension = 8192;

  using Loader = std::function<std::optional<std::string>()>;

  ImageCache();
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;
  ~ImageCache();

  // The image cached under `key`, decoded from `load()` the first time;
  // nullptr when it is missing or cannot be decoded. Owned by the cache.
  cairo_surface_t* Get(const std::string& key, const Loader& load);
  void Clear();

  // Decodes image bytes; nullptr when they are not an image. The caller owns
  // the surface.
  static cairo_surface_t* Decode(const std::string& bytes);

 private:
  std::map<std::string, cairo_surface_t*> images_;
};

}  // namespace ui

#endif  // UI_IMAGE_CACHE_H_
