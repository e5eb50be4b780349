#include "config/CConfigure.h"

#include <easylogging++.h>

#include "config/configuration_labels.h"
#include "system/decimal.h"
#include "system/text_conversion.h"
#include "system/url_rules.h"

CConfigure::CConfigure(int downloaderId, int languageId, int siteId)
    : Downloader_id(downloaderId), Site_id(siteId), Language_id(languageId) {}

void CConfigure::reset() {
  Filesize = 0;
  Software_id = 0;
  loadState = 1;
  loadSource = 0;
  Software_name.clear();
  Software_version.clear();
  Download_url.clear();
  Md5.clear();
  Process_name.clear();
  Install_url.clear();
  Banner_url.clear();
  Licensefile_url.clear();
  downloadUrls.clear();
}

void CConfigure::loadFromLayout(ui::PaintManager& manager, bool markLoaded) {
  reset();
  Downloader_id = ConfigurationLabelInt(manager, L"Downloader_id");
  Software_id = ConfigurationLabelInt(manager, L"Software_id");
  Site_id = ConfigurationLabelInt(manager, L"Site_id");
  Language_id = ConfigurationLabelInt(manager, L"Language_id");
  Software_name = ConfigurationLabelText(manager, L"Software_name");
  Software_version = ConfigurationLabelText(manager, L"Software_version");
  Process_name = ConfigurationLabelText(manager, L"Process_name");
  Install_url = ConfigurationLabelText(manager, L"Install_url");
  Download_url = ConfigurationLabelText(manager, L"Download_url");
  Extra_download_url = ConfigurationLabelText(manager, L"Extra_download_url");
  Banner_url = ConfigurationLabelText(manager, L"Banner_url");
  Licensefile_url = ConfigurationLabelText(manager, L"Licensefile_url");
  Md5 = ConfigurationLabelText(manager, L"Md5");
  Filesize = AtoI64(WideToAnsi(ConfigurationLabelText(manager, L"Filesize")));
  Md5_extra = ConfigurationLabelText(manager, L"Md5_extra");
  InstallTimeout = ConfigurationLabelInt(manager, L"InstallTimeout");
  if (InstallTimeout == 0) InstallTimeout = 242;
  Cnet_download_url = ConfigurationLabelText(manager, L"Cnet_download_url");
  Downloader_type = 1;
  Downloader_config = 0;

  if (!markLoaded) return;
  loadState = 2;
  loadSource = 2;
  for (const std::wstring* url : {&Download_url, &Extra_download_url}) {
    if (IsCandidateUrl(*url)) downloadUrls.push_back(*url);
  }
}

void CConfigure::printContent() const {
  if (loadSource == 2) {
    LOG(INFO) << " Configure Load From File! ";
  } else if (loadSource == 1) {
    LOG(INFO) << " Configure Load From XML! ";
  } else {
    LOG(INFO) << " Configure Load From Nothing! ";
  }
  LOG(INFO) << " [File ContentLength]: " << Filesize;
  LOG(INFO) << " [Downloader Id]: " << Downloader_id;
  LOG(INFO) << " [SoftWare Id]: " << Software_id;
  LOG(INFO) << " [Site Id]: " << Site_id;
  LOG(INFO) << " [Language Id]: " << Language_id;
  LOG(INFO) << " [Software Name]: " << WideToAnsi(Software_name);
  LOG(INFO) << " [Software Version]: " << WideToAnsi(Software_version);
  LOG(INFO) << " [Remote Path]: " << WideToAnsi(Download_url);
  LOG(INFO) << " [MD5 String]: " << WideToAnsi(Md5);
  LOG(INFO) << " [Process Name]: " << WideToAnsi(Process_name);
  LOG(INFO) << " [Install Url]: " << WideToAnsi(Install_url);
  LOG(INFO) << " [Banner Url]: " << WideToAnsi(Banner_url);
  LOG(INFO) << " [Licensefile Url]: " << WideToAnsi(Licensefile_url);
  LOG(INFO) << " [Extra Download Url]: " << WideToAnsi(Extra_download_url);
  LOG(INFO) << " [Cnet Download Url]: " << WideToAnsi(Cnet_download_url);
  LOG(INFO) << " [MD5 Extra String]: " << WideToAnsi(Md5_extra);
  LOG(INFO) << " [Downloader config]: " << Downloader_config;
}
