#include "weblog/usage_reporter.h"

#include "weblog/web_log.h"

namespace {

constexpr int kUserInfoAttempts = 3;

}  // namespace

UsageReporter& UsageReporter::Instance() {
  static UsageReporter reporter;
  return reporter;
}

// Making the WebLog here, before this constructor completes, also makes the
// process-wide objects it uses (endpoints, system facts, libcurl and
// OpenSSL); they are therefore destroyed after this reporter has joined its
// thread.
UsageReporter::UsageReporter() {
  WebLog::Settings settings = WebLog::DefaultSettings();
  settings.post.cancel = &stopping_;
  settings.get.cancel = &stopping_;
  webLog_ = std::make_unique<WebLog>(std::move(settings));
  thread_ = std::thread([this] { Run(); });
}

UsageReporter::~UsageReporter() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void UsageReporter::Submit(const Record& record) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    pending_.push_back(record);
  }
  wake_.notify_one();
}

void UsageReporter::Run() {
  for (;;) {
    Record record;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
      if (stopping_) return;
      record = pending_.front();
      pending_.pop_front();
    }
    Send(record);
  }
}

void UsageReporter::Send(const Record& record) {
  const char* guid = nullptr;
  const char* userId = nullptr;
  for (int attempt = 0; attempt < kUserInfoAttempts && !guid && !userId && !stopping_; ++attempt) {
    webLog_->GetUserInfo(&guid, &userId);
  }
  if (!guid && !userId) return;
  webLog_->AddUsageLog(record.operation, 1, "", record.softwareId, record.languageId, record.siteId,
                       "", "", 0, 0);
}
