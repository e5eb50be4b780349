#include "ui/builder.h"

#include <tinyxml2.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include <easylogging++.h>

#include "ui/attribute_values.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo.h"
#include "ui/edit.h"
#include "ui/horizontal_layout.h"
#include "ui/list_label_element.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "ui/progress.h"
#include "ui/rich_edit.h"
#include "ui/tab_layout.h"
#include "ui/text.h"
#include "platform/utf8.h"
#include "ui/vertical_layout.h"

namespace ui {
namespace {

constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxIncludeCount = 64;
// Bounds what `count` and nesting can multiply into.
constexpr int kMaxControls = 20000;

using Controls = std::vector<std::unique_ptr<Control>>;

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

std::string_view Attribute(const tinyxml2::XMLElement& e, const char* name) {
  const char* value = e.Attribute(name);
  return value ? value : "";
}

// How a document is named in messages.
std::string Where(const std::string& path) { return path.empty() ? "layout text" : path; }

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void ApplyWindowAttributes(const tinyxml2::XMLElement& window, PaintManager& manager) {
  WindowAttributes a = manager.GetWindowAttributes();
  for (const auto* attr = window.FirstAttribute(); attr; attr = attr->Next()) {
    const std::string_view name = attr->Name();
    const std::string_view value = attr->Value();
    if (name == "size") a.size = ParseSize(value).value_or(a.size);
    else if (name == "mininfo") a.min_size = ParseSize(value).value_or(a.min_size);
    else if (name == "maxinfo") a.max_size = ParseSize(value).value_or(a.max_size);
    else if (name == "caption") a.caption = ParseRect(value).value_or(a.caption);
    else if (name == "roundcorner") a.round_corner = ParseSize(value).value_or(a.round_corner);
    else if (name == "linkcolor") a.link_color = ParseColor(value).value_or(a.link_color);
    else if (name == "linkhovercolor") a.link_hover_color = ParseColor(value).value_or(a.link_hover_color);
    else if (name == "bkcolor") a.bk_color = ParseColor(value).value_or(a.bk_color);
  }
  manager.SetWindowAttributes(a);
}

void AddFont(const tinyxml2::XMLElement& e, PaintManager& manager) {
  const std::optional<int> id = ParseInt(Attribute(e, "id"));
  if (!id) {
    LOG(INFO) << "layout: Font without a valid id at line " << e.GetLineNum();
    return;
  }
  Font font;
  if (e.Attribute("name")) font.name = platform::FromUtf8(Attribute(e, "name"));
  font.size = std::max(1, ParseInt(Attribute(e, "size")).value_or(font.size));
  font.bold = ParseBool(Attribute(e, "bold")).value_or(false);
  font.italic = ParseBool(Attribute(e, "italic")).value_or(false);
  font.underline = ParseBool(Attribute(e, "underline")).value_or(false);
  manager.AddFont(*id, font, ParseBool(Attribute(e, "default")).value_or(false));
}

class LayoutBuilder {
 public:
  LayoutBuilder(const Package& pkg, PaintManager* manager) : pkg_(pkg), manager_(manager) {}

  // The root control of a document; `path` (may be empty) names it in errors
  // and resolves its includes.
  std::unique_ptr<Control> BuildDocument(std::string_view xml, const std::string& path,
                                         int depth, std::string* error) {
    const std::string where = Where(path);
    tinyxml2::XMLDocument doc;
    if (doc.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS) {
      SetError(error, where + ": XML error: " + (doc.ErrorStr() ? doc.ErrorStr() : "unknown"));
      return nullptr;
    }
    const tinyxml2::XMLElement* root = doc.RootElement();
    Controls built;
    if (root && std::string_view(root->Name()) == "Window") {
      if (depth == 0 && manager_) ApplyWindow(*root);
      for (const auto* child = root->FirstChildElement(); child && built.empty();
           child = child->NextSiblingElement()) {
        const std::string_view name = child->Name();
        if (name != "Font" && name != "Default") built = BuildNode(*child, path, depth);
      }
    } else if (root) {
      built = BuildNode(*root, path, depth);
    }
    if (built.empty()) {
      SetError(error, where + ": no control in the document");
      return nullptr;
    }
    return std::move(built.front());
  }

 private:
  void ApplyWindow(const tinyxml2::XMLElement& window) {
    ApplyWindowAttributes(window, *manager_);
    for (const auto* e = window.FirstChildElement("Font"); e; e = e->NextSiblingElement("Font")) {
      AddFont(*e, *manager_);
    }
    for (const auto* e = window.FirstChildElement("Default"); e;
         e = e->NextSiblingElement("Default")) {
      manager_->SetDefaultAttribute(platform::FromUtf8(Attribute(*e, "name")),
                                    platform::FromUtf8(Attribute(*e, "value")));
    }
  }

  // The controls an element stands for: one, or what an Include yields.
  Controls BuildNode(const tinyxml2::XMLElement& e, const std::string& path, int depth) {
    if (std::string_view(e.Name()) == "Include") return BuildInclude(e, path, depth);
    Controls out;
    if (built_ >= kMaxControls) {
      LOG(INFO) << Where(path) << ": more than " << kMaxControls << " controls, rest dropped";
      return out;
    }
    ++built_;
    std::unique_ptr<Control> control = CreateControl(e.Name(), e.FirstChildElement() != nullptr);
    for (const auto* attr = e.FirstAttribute(); attr; attr = attr->Next()) {
      control->SetAttribute(attr->Name(), attr->Value());
    }
    if (auto* container = As<Container>(control.get())) {
      for (const auto* child = e.FirstChildElement(); child; child = child->NextSiblingElement()) {
        for (auto& c : BuildNode(*child, path, depth)) container->Add(std::move(c));
      }
    } else if (e.FirstChildElement()) {
      LOG(INFO) << Where(path) << ": children of " << e.Name() << " at line "
                   << e.GetLineNum() << " ignored";
    }
    out.push_back(std::move(control));
    return out;
  }

  Controls BuildInclude(const tinyxml2::XMLElement& e, const std::string& path, int depth) {
    Controls out;
    const std::string source(Attribute(e, "source"));
    if (depth >= kMaxIncludeDepth) {
      LOG(INFO) << Where(path) << ": include " << source << " nested too deeply, skipped";
      return out;
    }
    const std::string resolved = Resolve(source, path);
    const std::optional<std::string> xml = pkg_.Read(resolved);
    if (!xml) {
      LOG(INFO) << Where(path) << ": include " << source << " cannot be read, skipped";
      return out;
    }
    const int count = std::clamp(ParseInt(Attribute(e, "count")).value_or(1), 0, kMaxIncludeCount);
    for (int i = 0; i < count; ++i) {
      std::string error;
      std::unique_ptr<Control> part = BuildDocument(*xml, resolved, depth + 1, &error);
      if (!part) {
        LOG(INFO) << Where(path) << ": include skipped: " << error;
        break;
      }
      out.push_back(std::move(part));
    }
    return out;
  }

  // Paths are relative to the package root; a name not found there is looked
  // up next to the including document.
  std::string Resolve(const std::string& source, const std::string& including) const {
    if (pkg_.Exists(source)) return source;
    const std::string sibling = DirectoryOf(including) + source;
    return pkg_.Exists(sibling) ? sibling : source;
  }

  const Package& pkg_;
  PaintManager* manager_;
  int built_ = 0;
};

template <class T>
std::unique_ptr<Control> Make() {
  return std::make_unique<T>();
}

}  // namespace

std::unique_ptr<Control> CreateControl(std::string_view element, bool has_children) {
  static const std::map<std::string_view, std::function<std::unique_ptr<Control>()>> kFactories = {
      {"Control", Make<Control>},
      {"Container", Make<Container>},
      {"VerticalLayout", Make<VerticalLayout>},
      {"HorizontalLayout", Make<HorizontalLayout>},
      {"TabLayout", Make<TabLayout>},
      {"Label", Make<Label>},
      {"Text", Make<Text>},
      {"Button", Make<Button>},
      {"Option", Make<Option>},
      {"CheckBox", Make<CheckBox>},
      {"Progress", Make<Progress>},
      {"Combo", Make<Combo>},
      {"ListLabelElement", Make<ListLabelElement>},
      {"Edit", Make<Edit>},
      {"RichEdit", Make<RichEdit>},
  };
  const auto it = kFactories.find(element);
  if (it != kFactories.end()) return it->second();
  // Unknown elements keep their name as class; their children (and so the
  // names inside them) survive in a plain container.
  if (has_children) return std::make_unique<Container>(std::string(element));
  return std::make_unique<Control>(std::string(element));
}

std::unique_ptr<Control> Build(const Package& pkg, const std::string& path,
                               PaintManager* manager, std::string* error) {
  const std::optional<std::string> xml = pkg.Read(path);
  if (!xml) {
    SetError(error, path + ": not in the skin package (or unreadable)");
    return nullptr;
  }
  if (manager) manager->SetResourceFolder(DirectoryOf(path));
  return LayoutBuilder(pkg, manager).BuildDocument(*xml, path, 0, error);
}

std::unique_ptr<Control> BuildFromString(const Package& pkg, std::string_view xml,
                                         PaintManager* manager, std::string* error) {
  return LayoutBuilder(pkg, manager).BuildDocument(xml, std::string(), 0, error);
}

}  // namespace ui
