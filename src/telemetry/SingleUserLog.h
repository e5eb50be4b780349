#pragma once
// The one analytics logger of the process. Everything the program wants the
// maker to know about a run goes through it: GA4 events (category, action,
// label) and funnel events (JSON bodies for the maker's collector), each
// sent at once on the caller's thread or queued for the sender thread, which
// retries failures.
// It also keeps a little process-wide state that several subsystems share.
//
// Return codes of the sending operations: 0 sent or queued; -99 telemetry is
// off (AutoRun in the settings file), nothing was done; -1 there is no web
// log object; any other value is the web log object's last failure code.
// A queued send waits for nothing but its queue's lock (at most 200 ms).

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/thread.h"
#include "system/settings_file.h"
#include "telemetry/funnel_body.h"
#include "telemetry/funnel_error_phase.h"
#include "telemetry/user_log_identity.h"
#include "telemetry/user_log_state.h"
#include "telemetry/user_log_transport.h"
#include "telemetry/user_log_window.h"

class CSingleUserLog {
 public:
  static constexpr int kTelemetryOff = -99;
  static constexpr int kNoWebLog = -1;
  // How long the orderly stop gives the sender to empty its queues.
  static constexpr std::uint32_t kExitWaitMs = 600000;

  struct Collaborators {
    std::unique_ptr<telemetry::UserLogTransport> webLog;  // null: none could be made
    telemetry::UserLogIdentity identity;
    std::function<bool()> autoRun = FuntionImpl::AutoRun;
    std::uint32_t exitWaitMs = kExitWaitMs;
  };

  // Created on first use with the real web log object, destroyed at exit.
  static CSingleUserLog& GetInstance();

  // Starts the sender thread unless telemetry is off.
  explicit CSingleUserLog(Collaborators collaborators);
  // Does not wait for the sender; WaitThreadForExit is the orderly stop.
  ~CSingleUserLog();
  CSingleUserLog(const CSingleUserLog&) = delete;
  CSingleUserLog& operator=(const CSingleUserLog&) = delete;

  // Start-up's values (UTF-8 texts); updates the day marker in the work
  // directory, which decides "is new".
  void SetUserLogInfo(int siteId, const std::string& productName, const std::string& downloadUrl,
                      bool kitFlag, const std::wstring& workDirectory, int mainProductId);

  // A GA4 event; null pointers read as "". With bWait it is sent at once (up
  // to three attempts). ("Other", "FlowError", code) also reports the code to
  // the funnel; ("CrashRate", "Close") closes the open error phases.
  int AddUserLog(const char* category, const char* action, const char* label, bool bWait = false);

  // A funnel step event.
  int AddUserLog_funnel(const std::string& eventType, const std::string& coreFuncName, int funcStep,
                        const std::string& category, const std::string& action,
                        const std::string& label, bool bWait = false, bool bKit = false);
  // A funnel event with free keys; entries with an empty key are left out.
  int AddUserLog_funnelEx(const std::string& category, const std::string& action,
                          const std::map<std::string, std::string>& labels, bool bWait = false,
                          bool bKit = false);
  int AddUserLog_funnelEx(const std::string& category, const std::string& action,
                          const std::string& key, const std::string& value, bool bWait = false,
                          bool bKit = false);

  // Stops the sender once its queues are empty, waiting at most the exit
  // bound. Always true.
  bool WaitThreadForExit();

  // A URL's content length, probed once per process. Zero lengths and
  // empty URLs are not stored; an unknown URL gives 0.
  void SetUrlContentLength(const std::string& url, std::int64_t length);
  std::int64_t GetUrlContentLength(const std::string& url) const;

  // The main window while it lives (null afterwards): funnel bodies carry
  // its product version and language.
  void SetMainWindow(const IUserLogWindow* window) { mainWindow_ = window; }

  // The installer's log file, for the crash and close handlers.
  std::wstring installLogPath() const;
  void setInstallLogPath(const std::wstring& path);
  // The configuration's Downloader_config as the last query answer set it.
  std::atomic<int> downloaderConfig = 0;

 private:
  int SendGa4(const telemetry::UserLogEvent& event, bool bWait);
  int SendFunnel(const Json::Value& actions, const std::string& category, const std::string& action,
                 bool bWait, bool bKit);
  telemetry::FunnelFields FunnelFieldsOf(const telemetry::UserLogProfile& run, bool bKit) const;

  const std::shared_ptr<telemetry::UserLogState> state_;
  const std::function<bool()> autoRun_;
  const std::uint32_t exitWaitMs_;
  std::atomic<const IUserLogWindow*> mainWindow_ = nullptr;
  std::atomic<bool> versionPending_ = true;
  telemetry::FunnelErrorPhase flowErrorPhase_{"FlowError", false};
  telemetry::FunnelErrorPhase toolKitErrorPhase_{"FlowIsChToolKitError", true};

  mutable std::mutex sharedMutex_;  // contentLengths_, installLogPath_
  std::map<std::string, std::int64_t> contentLengths_;
  std::wstring installLogPath_;

  platform::Thread sender_;
};
