// A layout of the assembled skin read the way the UI library builds it:
// every <Include source="..."/> is replaced by the root of the included file.
#pragma once

#include <tinyxml2.h>

#include <filesystem>
#include <string>
#include <vector>

namespace skintest {

class LayoutDocument {
 public:
  // Loads `relative` from the skin folder; Ok() is false (and Error() says
  // why) when it or one of its includes cannot be read.
  explicit LayoutDocument(const std::string& relative);

  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  const tinyxml2::XMLElement* Root() const { return document_.RootElement(); }

  // All elements below the root whose name attribute is `name`.
  std::vector<const tinyxml2::XMLElement*> FindAll(const std::string& name) const;
  // The one element of that name, or nullptr when there is none or several.
  const tinyxml2::XMLElement* Find(const std::string& name) const;

 private:
  void ExpandIncludes(tinyxml2::XMLElement* parent, int depth);

  tinyxml2::XMLDocument document_;
  std::string error_;
};

// Reads a skin file as text ("" when missing).
std::string ReadSkinFile(const std::filesystem::path& relative);

// Element children of `parent`, in document order.
std::vector<const tinyxml2::XMLElement*> Children(const tinyxml2::XMLElement* parent);

// The attribute or "" when absent.
std::string Attribute(const tinyxml2::XMLElement* element, const char* name);

}  // namespace skintest
