#include "telemetry/user_log_state.h"

#include "system/site_names.h"
#include "telemetry/ga4_query.h"

namespace telemetry {

UserLogState::UserLogState(std::unique_ptr<UserLogTransport> transport, UserLogIdentity identity)
    : transport_(std::move(transport)), identity_(std::move(identity)) {}

void UserLogState::SetProfile(UserLogProfile profile) {
  std::lock_guard lock(profileMutex_);
  profile_ = std::move(profile);
}

UserLogProfile UserLogState::profile() const {
  std::lock_guard lock(profileMutex_);
  return profile_;
}

std::string UserLogState::Ga4QueryOf(const UserLogEvent& event) const {
  const UserLogProfile run = profile();
  Ga4Dimensions dimensions;
  dimensions.toolsVersion = identity_.toolsVersion;
  dimensions.channelClass = GetChannelClass(run.siteId);
  dimensions.siteName = GetSiteName(run.downloadUrl, run.siteId);
  dimensions.productName = run.productName;
  dimensions.systemCountry = identity_.systemCountry;
  dimensions.systemLanguage = identity_.systemLanguage;
  dimensions.osDescription = identity_.osDescription;
  dimensions.kitFlag = run.kitFlag;
  return BuildGa4Query(dimensions, event.category, event.action, event.label);
}

}  // namespace telemetry
