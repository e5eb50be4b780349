#pragma once
// The few values of the embedded configuration that start-up needs before
// any window exists, read straight from "configure/configure.xml".

#include <string>

namespace ui {
class Package;
}

struct StartupEntries {
  std::wstring downloaderIdText;
  int downloaderId = 0;
  int siteId = 0;
  std::wstring softwareName;
  std::wstring downloadUrl;  // first of Download_url, Extra_download_url that is a candidate
  int mainPid = 0;
  std::wstring support32System;
};

// Missing package, file or entries leave the values empty or 0; each problem
// is logged.
StartupEntries ReadStartupEntries(const ui::Package* package);
StartupEntries ParseStartupEntries(const std::string& configureXml);
