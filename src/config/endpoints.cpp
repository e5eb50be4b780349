#include "config/endpoints.h"

#include <tinyxml2.h>

#include <mutex>

namespace {

Endpoints Defaults() {
  Endpoints e;
  e.updateServer = "https://update.brisko.example";
  e.updateServerChina = "https://update.brisko.example.cn";
  e.productAlert = "https://alert.brisko.example";
  e.logUpload = "https://logupload.brisko.example";
  e.logService = "https://log.brisko.example";
  e.baseUrlFileSite = "https://www.brisko.example";
  e.analyticsCollector = "https://collector.brisko.example";
  e.analyticsTestCollector = "https://collector-test.brisko.example";
  e.ga4Collection = "https://www.google-analytics.com";
  e.supportService = "https://support.brisko.example";
  e.geolocation = "https://geo.brisko.example";
  return e;
}

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

Endpoints& Current() {
  static Endpoints current = Defaults();
  return current;
}

struct Entry {
  std::string_view name;
  std::string Endpoints::*field;
};
constexpr Entry kEntries[] = {
    {"update_server", &Endpoints::updateServer},
    {"update_server_china", &Endpoints::updateServerChina},
    {"product_alert", &Endpoints::productAlert},
    {"log_upload", &Endpoints::logUpload},
    {"log_service", &Endpoints::logService},
    {"base_url_file_site", &Endpoints::baseUrlFileSite},
    {"analytics_collector", &Endpoints::analyticsCollector},
    {"analytics_test_collector", &Endpoints::analyticsTestCollector},
    {"ga4_collection", &Endpoints::ga4Collection},
    {"support_service", &Endpoints::supportService},
    {"geolocation", &Endpoints::geolocation},
};

std::string* Field(Endpoints& e, std::string_view name) {
  for (const Entry& entry : kEntries) {
    if (entry.name == name) return &(e.*entry.field);
  }
  return nullptr;
}

// Callers append paths that start with "/".
std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

}  // namespace

Endpoints GetEndpoints() {
  std::lock_guard<std::mutex> guard(Lock());
  return Current();
}

bool LoadEndpointsXml(std::string_view xml, std::string* error) {
  tinyxml2::XMLDocument doc;
  if (doc.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS) {
    if (error) *error = doc.ErrorStr();
    return false;
  }
  const tinyxml2::XMLElement* root = doc.RootElement();
  if (!root || std::string_view(root->Name()) != "Endpoints") {
    if (error) *error = "the root element is not Endpoints";
    return false;
  }
  Endpoints loaded = GetEndpoints();
  for (const tinyxml2::XMLElement* item = root->FirstChildElement("Endpoint"); item;
       item = item->NextSiblingElement("Endpoint")) {
    const char* name = item->Attribute("name");
    const char* url = item->Attribute("url");
    std::string* field = name ? Field(loaded, name) : nullptr;
    if (field && url && *url) *field = WithoutTrailingSlash(url);
  }
  if (const tinyxml2::XMLElement* anchor = root->FirstChildElement("TrustAnchor")) {
    loaded.trustAnchorPem = anchor->GetText() ? anchor->GetText() : "";
  }
  std::lock_guard<std::mutex> guard(Lock());
  Current() = std::move(loaded);
  return true;
}

void ResetEndpoints() {
  std::lock_guard<std::mutex> guard(Lock());
  Current() = Defaults();
}

void PointAllEndpointsAt(std::string_view baseUrl) {
  std::lock_guard<std::mutex> guard(Lock());
  for (const Entry& entry : kEntries) Current().*entry.field = WithoutTrailingSlash(std::string(baseUrl));
}
