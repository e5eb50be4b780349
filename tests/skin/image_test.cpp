// The images of the shipped skin: everything a layout names is there,
// decodes, and has the size its place needs.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "fixtures/run_command.h"
#include "fixtures/temp_dir.h"
#include "layout_document.h"
#include "skin_paths.h"

namespace fs = std::filesystem;

namespace skintest {
namespace {

using test::CommandResult;
using test::RunCommand;

struct Size {
  int width;
  int height;
  bool operator==(const Size&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Size& size) {
  return out << size.width << 'x' << size.height;
}

// Package paths accept either separator.
std::string Normalised(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::optional<Size> DecodedSize(const fs::path& file) {
  GError* error = nullptr;
  GdkPixbuf* image = gdk_pixbuf_new_from_file(file.c_str(), &error);
  if (image == nullptr) {
    g_clear_error(&error);
    return std::nullopt;
  }
  const Size size{gdk_pixbuf_get_width(image), gdk_pixbuf_get_height(image)};
  g_object_unref(image);
  return size;
}

std::vector<std::string> SkinXmlFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(SkinDir())) {
    if (entry.path().extension() == ".xml") {
      files.push_back(entry.path().lexically_relative(SkinDir()).generic_string());
    }
  }
  return files;
}

// Every "skin/...png" written anywhere in a layout, attribute values that
// hold further attributes (the scroll bar default) included.
std::set<std::string> ReferencedImages() {
  const std::regex reference(R"(skin[\\/][A-Za-z0-9_./\\-]+?\.png)");
  std::set<std::string> images;
  for (const std::string& file : SkinXmlFiles()) {
    const std::string text = ReadSkinFile(file);
    for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
      images.insert(Normalised(it->str()));
    }
  }
  return images;
}

// Elements with a four-state image, from every layout.
struct StripUse {
  std::string file;
  std::string control;
  std::string image;
  int width;   // the control's fixed size, 0 when it shares space
  int height;
};

void CollectStrips(const tinyxml2::XMLElement* element, const std::string& file,
                   std::vector<StripUse>& uses) {
  for (const char* attribute : {"stateimage", "selectedstateimage"}) {
    const std::string image = Attribute(element, attribute);
    if (!image.empty()) {
      uses.push_back({file, Attribute(element, "name"), Normalised(image),
                      element->IntAttribute("width"), element->IntAttribute("height")});
    }
  }
  for (const tinyxml2::XMLElement* child : Children(element)) CollectStrips(child, file, uses);
}

std::vector<StripUse> StripUses() {
  std::vector<StripUse> uses;
  for (const std::string& file : SkinXmlFiles()) {
    const std::string text = ReadSkinFile(file);
    tinyxml2::XMLDocument document;
    if (document.Parse(text.c_str(), text.size()) == tinyxml2::XML_SUCCESS) {
      CollectStrips(document.RootElement(), file, uses);
    }
  }
  return uses;
}

std::map<std::string, Size> PrescribedSizes() {
  std::map<std::string, Size> sizes{
      {"skin/backgroud.png", {650, 360}},       {"skin/backgroud_complete.png", {650, 360}},
      {"skin/anima/1.png", {650, 300}},         {"skin/anima/2.png", {650, 300}},
      {"skin/anima/3.png", {650, 300}},         {"skin/waiting.png", {320, 320}},
      {"skin/message_help.png", {40, 40}},      {"skin/message_exclamation.png", {40, 40}},
      {"skin/bg_message.png", {500, 190}},
  };
  for (int frame = 0; frame <= 20; ++frame) {
    char name[32];
    std::snprintf(name, sizeof name, "skin/gif/bg%02d.png", frame);
    sizes[name] = {320, 320};
  }
  return sizes;
}

TEST(SkinImages, EveryReferencedImageExistsAndDecodes) {
  const std::set<std::string> images = ReferencedImages();
  ASSERT_GT(images.size(), 10u);
  for (const std::string& image : images) {
    EXPECT_TRUE(DecodedSize(SkinDir() / image).has_value()) << image;
  }
}

TEST(SkinImages, HaveTheirPrescribedSizes) {
  for (const auto& [image, size] : PrescribedSizes()) {
    const std::optional<Size> decoded = DecodedSize(SkinDir() / image);
    ASSERT_TRUE(decoded.has_value()) << image << " missing or broken";
    EXPECT_EQ(*decoded, size) << image;
  }
}

TEST(SkinImages, StateStripsHoldFourStatesOfTheControlsSize) {
  const std::vector<StripUse> uses = StripUses();
  ASSERT_FALSE(uses.empty());
  for (const StripUse& use : uses) {
    const std::optional<Size> decoded = DecodedSize(SkinDir() / use.image);
    ASSERT_TRUE(decoded.has_value()) << use.image;
    EXPECT_EQ(decoded->width % 4, 0) << use.image;
    if (use.width > 0 && use.height > 0) {
      EXPECT_EQ(*decoded, (Size{4 * use.width, use.height}))
          << use.image << " used by " << use.control << " in " << use.file;
    }
  }
}

TEST(SkinArt, DrawsTheSameBytesEveryTimeAndNothingElseIsShipped) {
  const test::TempDir first;
  const test::TempDir second;
  for (const test::TempDir* dir : {&first, &second}) {
    const CommandResult result = RunCommand({SkinArtProgram().string(), dir->str()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }
  std::set<std::string> drawn;
  for (const auto& entry : fs::recursive_directory_iterator(first.path())) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = entry.path().lexically_relative(first.path());
    drawn.insert(relative.generic_string());
    EXPECT_EQ(test::ReadFile(entry.path()), test::ReadFile(second.path() / relative))
        << relative;
    EXPECT_EQ(test::ReadFile(entry.path()), test::ReadFile(SkinDir() / relative))
        << relative << " differs from the assembled skin";
  }
  std::set<std::string> shipped;
  for (const auto& entry : fs::recursive_directory_iterator(SkinDir() / "skin")) {
    if (entry.is_regular_file()) {
      shipped.insert(entry.path().lexically_relative(SkinDir()).generic_string());
    }
  }
  EXPECT_EQ(drawn, shipped);
  for (const std::string& image : ReferencedImages()) EXPECT_TRUE(drawn.count(image)) << image;
}

TEST(SkinArt, FailsWithoutAnOutputFolder) {
  EXPECT_EQ(RunCommand({SkinArtProgram().string()}).exitCode, 1);
  const test::TempDir dir;
  const fs::path blocker = dir.Write("file", "not a folder");
  const CommandResult result = RunCommand({SkinArtProgram().string(), (blocker / "x").string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_FALSE(result.err.empty());
}

}  // namespace
}  // namespace skintest
