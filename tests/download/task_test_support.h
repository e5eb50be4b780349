#pragma once
// A task manager on a package in a temporary folder, with a local server and
// an event log of its own (so the content-length cache starts empty in
// every test and the events can be read back).

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "download/CDownloadTaskManager.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/log_capture.h"
#include "fixtures/temp_dir.h"
#include "telemetry/user_log_harness.h"

namespace test {

// One Task element of a task-information file written by hand.
struct StoredTask {
  std::int64_t start;
  std::int64_t end;
  std::int64_t downloaded;
  int status;
  int id;
};

inline std::string TaskXml(const StoredTask& task, const std::string& remotePath,
                           const std::string& localPath) {
  return "  <Task><StartPos>" + std::to_string(task.start) + "</StartPos><EndPos>" +
         std::to_string(task.end) + "</EndPos><DownloadedPos>" + std::to_string(task.downloaded) +
         "</DownloadedPos><RemotePath>" + remotePath + "</RemotePath><LocalPath>" + localPath +
         "</LocalPath><TaskStatus>" + std::to_string(task.status) + "</TaskStatus><TaskId>" +
         std::to_string(task.id) + "</TaskId><RequestTimes>4</RequestTimes></Task>\n";
}

class TaskManagerTest : public ::testing::Test {
 public:
  std::unique_ptr<CDownloadTaskManager> Manager(const std::string& url) const {
    return std::make_unique<CDownloadTaskManager>(url, package_, taskInfo_, *harness_.log);
  }

  // LF line ends and its own indentation: the reader must not care.
  std::string TaskInfoXml(std::int64_t length, const std::vector<StoredTask>& tasks,
                          const std::string& remotePath, std::int64_t downloadTime = 0) const {
    std::string xml = "<TaskInfo>\n  <TasksCount>" + std::to_string(tasks.size()) +
                      "</TasksCount>\n  <ContentLength>" + std::to_string(length) +
                      "</ContentLength>\n  <DownloadTime>" + std::to_string(downloadTime) +
                      "</DownloadTime>\n";
    for (const StoredTask& task : tasks) xml += TaskXml(task, remotePath, package_);
    return xml + "</TaskInfo>\n";
  }

  // The labels of the GA4 events (category, action) in send order. Stops
  // the event log, so it comes last in a test.
  std::vector<std::string> Labels(const std::string& category, const std::string& action) {
    harness_.Drain();
    const std::string prefix =
        "&ep.cv_category=" + category + "&ep.cv_action=" + action + "&ep.cv_label=";
    std::vector<std::string> labels;
    for (const std::string& query : harness_.record->ga4Queries) {
      const std::size_t at = query.find(prefix);
      if (at == std::string::npos) continue;
      const std::size_t start = at + prefix.size();
      labels.push_back(query.substr(start, query.find("&en=", start) - start));
    }
    return labels;
  }

  // How many funnel bodies name `action`. Stops the event log too.
  int FunnelCount(const std::string& action) {
    harness_.Drain();
    int count = 0;
    for (const std::string& body : harness_.record->funnelBodies) {
      if (body.find("\"" + action + "\"") != std::string::npos) ++count;
    }
    return count;
  }

  std::vector<std::string> LinesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : capture_.lines()) {
      if (line.starts_with(prefix)) found.push_back(line);
    }
    return found;
  }

  bool PackageExists() const { return std::filesystem::exists(package_); }
  bool TaskInfoExists() const { return std::filesystem::exists(taskInfo_); }

  // Before the event log, whose sender thread logs.
  LogCapture capture_;
  UserLogHarness harness_;
  FaultHttpServer server_;
  TempDir dir_;
  const std::string package_ = dir_.File("Brisko Setup \u00fc.exe");
  const std::string taskInfo_ = package_ + ".xml";
};

}  // namespace test
