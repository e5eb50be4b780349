#include "telemetry/ga4_query.h"

#include "telemetry/bounded_text.h"

namespace telemetry {

namespace {

// The analytics property of the downloader.
constexpr const char* kMeasurementId = "G-Q3XK8WTZ5N";

std::string CustomDimensions(const Ga4Dimensions& d) {
  return "&ep.cd1=" + d.toolsVersion + "&ep.cd2=" + d.channelClass + "&ep.cd3=" + d.siteName +
         "&ep.cd4=" + d.productName + "&ep.cd5=" + d.systemCountry + "&ep.cd6=" + d.systemLanguage +
         "&ep.cd7=" + d.osDescription + "&ep.cd8=" + (d.kitFlag ? "0" : "1");
}

}  // namespace

std::string BuildGa4Query(const Ga4Dimensions& dimensions, const std::string& category,
                          const std::string& action, const std::string& label) {
  const std::string head =
      std::string("&tid=") + kMeasurementId +
      "&ep.cv_productname=Downloader&ep.cv_productversion=" + dimensions.toolsVersion +
      "&ep.cv_category=" + category + "&ep.cv_action=" + action + "&ep.cv_label=";
  // The event name is the action.
  const std::string tail = "&en=" + action + CustomDimensions(dimensions);
  return ComposeWithin(head, label, tail, kGa4QueryMaxBytes);
}

}  // namespace telemetry
