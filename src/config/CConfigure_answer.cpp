// Merging the update server's downloader information answer into the record.
#include <tinyxml2.h>

#include <cstring>
#include <string_view>

#include "config/CConfigure.h"
#include "system/text_conversion.h"
#include "system/url_rules.h"
#include "telemetry/SingleUserLog.h"

namespace {

constexpr std::size_t kMaxSoftwareNameUnits = 259;  // UTF-16 code units

std::string ElementText(const tinyxml2::XMLElement& e) { return e.GetText() ? e.GetText() : ""; }

std::wstring WithoutLineBreaks(std::wstring text) {
  std::erase_if(text, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
  return text;
}

// The name field held 259 UTF-16 code units; a character beyond the Basic
// Multilingual Plane takes two of them and is never split.
std::wstring CutToUtf16Units(const std::wstring& text, std::size_t maxUnits) {
  std::size_t units = 0;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const std::size_t width = static_cast<std::uint32_t>(text[i]) > 0xFFFF ? 2 : 1;
    if (units + width > maxUnits) break;
    units += width;
  }
  return text.substr(0, i);
}

// The XML library's integer query: a leading decimal number is taken, a text
// without one leaves the field as it was.
template <class Int>
void QueryInteger(const tinyxml2::XMLElement& e, Int& field) {
  if constexpr (sizeof(Int) == sizeof(std::int64_t)) {
    std::int64_t value = 0;
    if (e.QueryInt64Text(&value) == tinyxml2::XML_SUCCESS) field = value;
  } else {
    int value = 0;
    if (e.QueryIntText(&value) == tinyxml2::XML_SUCCESS) field = value;
  }
}

}  // namespace

bool CConfigure::parseDownloadInfoXml() {
  tinyxml2::XMLDocument doc;
  if (!answerXml || doc.Parse(answerXml->data(), answerXml->size()) != tinyxml2::XML_SUCCESS) {
    loadState = 1;
    return false;
  }
  const tinyxml2::XMLElement* downloader = doc.FirstChildElement();
  if (!downloader) {
    loadState = 1;
    return false;
  }
  for (const tinyxml2::XMLElement* e = downloader->FirstChildElement(); e; e = e->NextSiblingElement()) {
    const std::string_view name = e->Name();
    const std::wstring text = Utf8ToWide(ElementText(*e));
    if (name == "Downloader_id") QueryInteger(*e, Downloader_id);
    else if (name == "Software_id") QueryInteger(*e, Software_id);
    else if (name == "Site_id") QueryInteger(*e, Site_id);
    else if (name == "Software_name") Software_name = CutToUtf16Units(text, kMaxSoftwareNameUnits);
    else if (name == "Software_version") Software_version = text;
    else if (name == "Process_name") Process_name = WithoutLineBreaks(text);
    else if (name == "Install_url") Install_url = text;
    else if (name == "Download_url") Download_url = WithoutLineBreaks(text);
    else if (name == "Banner_url") Banner_url = text;
    else if (name == "Licensefile_url") Licensefile_url = text;
    else if (name == "Md5") Md5 = text;
    else if (name == "Filesize") QueryInteger(*e, Filesize);
    else if (name == "Extra_download_url") Extra_download_url = WithoutLineBreaks(text);
    else if (name == "Cnet_download_url") Cnet_download_url = text;
    else if (name == "Md5_extra") Md5_extra = text;
    else if (name == "Downloader_type") QueryInteger(*e, Downloader_type);
    else if (name == "Downloader_config") {
      QueryInteger(*e, Downloader_config);
      // The crash and close handlers read it from the event log.
      CSingleUserLog::GetInstance().downloaderConfig = Downloader_config;
    }
  }
  loadState = 2;
  loadSource = 1;
  for (const std::wstring* url : {&Download_url, &Extra_download_url}) {
    if (IsCandidateUrl(*url)) downloadUrls.push_back(*url);
  }
  return true;
}
