#pragma once
// The product configuration record. One instance, owned by the main window,
// holds the embedded configuration (the "configure/configure.xml" labels of
// the skin) merged with the update server's answer, which overrides it field
// by field. The record has no lock: the flow-started handshake keeps its
// writers apart in time.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class PaintManager;
}

class CConfigure {
 public:
  CConfigure(int downloaderId, int languageId, int siteId);

  // Empties the fields the embedded file and an answer both carry; keeps
  // Extra_download_url, Md5_extra, Cnet_download_url, queryUrl, answerXml.
  void reset();

  // Reads the configuration labels of a window built from the main layout.
  // With markLoaded the record counts as loaded from the embedded file and
  // its candidate URLs are listed.
  void loadFromLayout(ui::PaintManager& manager, bool markLoaded);

  // Asks the update server for this stub's downloader information and keeps
  // the answer's <Downloader> element in answerXml (an earlier answer stays
  // when this one has none). `synchronous` only names the timing event.
  int getDownloadInfoXml(bool synchronous);

  // Merges answerXml, the update server's <Downloader> element, into the
  // record: every known child sets its field. True when merged; otherwise
  // the record counts as not loaded.
  bool parseDownloadInfoXml();

  void printContent() const;

  int loadState = 1;   // 1 not loaded, 2 loaded
  int loadSource = 0;  // 0 nothing, 1 update server answer, 2 embedded file
  std::int64_t Filesize = 0;
  int Downloader_id;
  int Software_id = 0;
  int Site_id;
  int Language_id;
  int Downloader_type = 3;
  int Downloader_config = 0;
  int InstallTimeout = 240;  // seconds
  std::wstring Software_name;
  std::wstring Software_version;
  std::wstring Download_url;
  std::wstring Md5;
  std::wstring Process_name;
  std::wstring Install_url;
  std::wstring Banner_url;
  std::wstring Licensefile_url;
  std::wstring Extra_download_url;
  std::vector<std::wstring> downloadUrls;
  std::wstring Md5_extra;
  std::wstring Cnet_download_url;
  std::string queryUrl;
  std::optional<std::string> answerXml;
};
