#include "layout_document.h"

#include "fixtures/temp_dir.h"
#include "skin_paths.h"

namespace skintest {
namespace {

constexpr int kMaxIncludeDepth = 16;

void Collect(const tinyxml2::XMLElement* element, const std::string& name,
             std::vector<const tinyxml2::XMLElement*>& found) {
  for (const tinyxml2::XMLElement* child : Children(element)) {
    if (Attribute(child, "name") == name) found.push_back(child);
    Collect(child, name, found);
  }
}

}  // namespace

LayoutDocument::LayoutDocument(const std::string& relative) {
  const std::string text = ReadSkinFile(relative);
  if (document_.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
    error_ = relative + ": " + document_.ErrorStr();
    return;
  }
  ExpandIncludes(document_.RootElement(), 0);
}

void LayoutDocument::ExpandIncludes(tinyxml2::XMLElement* parent, int depth) {
  for (tinyxml2::XMLElement* child = parent->FirstChildElement(); child != nullptr;) {
    tinyxml2::XMLElement* next = child->NextSiblingElement();
    if (std::string(child->Name()) != "Include") {
      ExpandIncludes(child, depth);
      child = next;
      continue;
    }
    const std::string source = Attribute(child, "source");
    tinyxml2::XMLDocument part;
    const std::string text = ReadSkinFile(source);
    if (depth >= kMaxIncludeDepth ||
        part.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
      error_ = "include " + source + " cannot be built";
      return;
    }
    tinyxml2::XMLNode* copy = part.RootElement()->DeepClone(&document_);
    parent->InsertAfterChild(child, copy);
    parent->DeleteChild(child);
    ExpandIncludes(copy->ToElement(), depth + 1);
    child = next;
  }
}

std::vector<const tinyxml2::XMLElement*> LayoutDocument::FindAll(const std::string& name) const {
  std::vector<const tinyxml2::XMLElement*> found;
  if (Root() != nullptr) Collect(Root(), name, found);
  return found;
}

const tinyxml2::XMLElement* LayoutDocument::Find(const std::string& name) const {
  const std::vector<const tinyxml2::XMLElement*> found = FindAll(name);
  return found.size() == 1 ? found.front() : nullptr;
}

std::string ReadSkinFile(const std::filesystem::path& relative) {
  return test::ReadFile(SkinDir() / relative);
}

std::vector<const tinyxml2::XMLElement*> Children(const tinyxml2::XMLElement* parent) {
  std::vector<const tinyxml2::XMLElement*> children;
  for (const tinyxml2::XMLElement* child = parent->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    children.push_back(child);
  }
  return children;
}

std::string Attribute(const tinyxml2::XMLElement* element, const char* name) {
  const char* value = element->Attribute(name);
  return value != nullptr ? value : "";
}

}  // namespace skintest
