#include "Common/startup_entries.h"

#include <easylogging++.h>
#include <tinyxml2.h>

#include "system/decimal.h"
#include "system/text_conversion.h"
#include "system/url_rules.h"
#include "ui/package.h"

namespace {

constexpr char kConfigureFile[] = "configure/configure.xml";

void Keep(StartupEntries& entries, const std::string& name, const std::string& text) {
  const std::wstring value = Utf8ToWide(text);
  if (name == "Downloader_id") {
    entries.downloaderIdText = value;
    entries.downloaderId = AtoI(text);
  } else if (name == "Site_id") {
    entries.siteId = AtoI(text);
  } else if (name == "Software_name") {
    entries.softwareName = value;
  } else if (name == "Download_url" || name == "Extra_download_url") {
    if (entries.downloadUrl.empty() && IsCandidateUrl(value)) entries.downloadUrl = value;
  } else if (name == "MainPid") {
    entries.mainPid = AtoI(text);
  } else if (name == "Support32System") {
    entries.support32System = value;
  }
}

}  // namespace

StartupEntries ParseStartupEntries(const std::string& configureXml) {
  StartupEntries entries;
  tinyxml2::XMLDocument doc;
  if (doc.Parse(configureXml.data(), configureXml.size()) != tinyxml2::XML_SUCCESS) {
    LOG(INFO) << " " << kConfigureFile << " does not parse: " << doc.ErrorStr();
    return entries;
  }
  const tinyxml2::XMLElement* root = doc.RootElement();
  const tinyxml2::XMLElement* config = root ? root->FirstChildElement() : nullptr;
  if (!config) {
    LOG(INFO) << " " << kConfigureFile << " has no configuration layout";
    return entries;
  }
  // Entries are positional: the first attribute names the entry, the second
  // holds its text, whatever the attributes are called.
  for (const tinyxml2::XMLElement* item = config->FirstChildElement(); item;
       item = item->NextSiblingElement()) {
    const tinyxml2::XMLAttribute* name = item->FirstAttribute();
    const tinyxml2::XMLAttribute* text = name ? name->Next() : nullptr;
    if (!text) {
      LOG(INFO) << " " << kConfigureFile << " line " << item->GetLineNum()
                << ": entry without name and text";
      continue;
    }
    Keep(entries, name->Value(), text->Value());
  }
  return entries;
}

StartupEntries ReadStartupEntries(const ui::Package* package) {
  if (!package) {
    LOG(INFO) << " No skin package in the executable";
    return {};
  }
  const std::optional<std::string> xml = package->Read(kConfigureFile);
  if (!xml) {
    LOG(INFO) << " The skin package has no " << kConfigureFile;
    return {};
  }
  return ParseStartupEntries(*xml);
}
