// How long a producer waits for a queued AddUserLog while the collector is
// slow: the real web log object sends to a local server that answers each
// GA4 hit late. Prints the median and the 99th percentile of the calls.
//
//   userlog-bench [calls] [collector delay ms]
#include <easylogging++.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "config/endpoints.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "telemetry/SingleUserLog.h"
#include "telemetry/web_log_transport.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every service of the web log object on the one local server.
std::string EndpointsOf(const test::FaultHttpServer& server) {
  std::string xml = "<Endpoints>";
  for (const char* name : {"log_service", "base_url_file_site", "analytics_collector",
                           "analytics_test_collector", "ga4_collection", "geolocation"}) {
    xml += std::string("<Endpoint name=\"") + name + "\" url=\"" + server.url("") + "\"/>";
  }
  return xml + "</Endpoints>";
}

void ServeCollector(test::FaultHttpServer& server, const std::atomic<int>& delayMs,
                    std::atomic<int>& hits) {
  server.Handle("POST", "/g/collect", [&](const httplib::Request&, httplib::Response& response) {
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs.load()));
    ++hits;
    response.status = 204;
  });
  server.Handle("POST", "/collect", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("{}", "application/json");
  });
  server.Handle("GET", "/QueryUser", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("1001", "text/plain");
  });
  server.Handle("GET", "/csv", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("success,Austria,AT,9,Vienna,Vienna,127.0.0.1", "text/csv");
  });
}

double Percentile(const std::vector<double>& sorted, double fraction) {
  const std::size_t rank = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size()));
  return sorted[std::min(rank, sorted.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  const int calls = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int slowMs = argc > 2 ? std::atoi(argv[2]) : 200;
  if (calls <= 0 || slowMs < 0) {
    std::fprintf(stderr, "usage: userlog-bench [calls > 0] [collector delay ms >= 0]\n");
    return 2;
  }
  el::Loggers::reconfigureAllLoggers(el::ConfigurationType::ToStandardOutput, "false");
  // The web log object keeps its machine record under the configuration home.
  const test::TempDir home;
  const test::ScopedEnv configHome("XDG_CONFIG_HOME", home.str());

  std::atomic<int> delayMs = slowMs;
  std::atomic<int> hits = 0;
  test::FaultHttpServer server;
  ServeCollector(server, delayMs, hits);
  std::string error;
  if (!LoadEndpointsXml(EndpointsOf(server), &error)) {
    std::fprintf(stderr, "userlog-bench: %s\n", error.c_str());
    return 1;
  }

  CSingleUserLog log({telemetry::WebLogTransport::Create(), telemetry::CurrentUserLogIdentity()});
  log.SetUserLogInfo(11, "Brisko Studio", "https://www.brisko.example/Brisko_Setup.exe", false,
                     home.wpath(), 42);
  std::vector<double> micros;
  micros.reserve(static_cast<std::size_t>(calls));
  for (int i = 0; i < calls; ++i) {
    const std::string label = "round " + std::to_string(i);
    const Clock::time_point start = Clock::now();
    log.AddUserLog("Other", "CDNInfor", label.c_str(), false);
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  const int sentWhileMeasuring = hits.load();
  std::sort(micros.begin(), micros.end());
  std::printf(
      "%d queued AddUserLog calls, collector answering after %d ms "
      "(%d hits answered meanwhile)\n",
      calls, slowMs, sentWhileMeasuring);
  std::printf("median %.2f us\np99    %.2f us\n", Percentile(micros, 0.5),
              Percentile(micros, 0.99));

  // Let the collector catch up so that the sender ends in order.
  delayMs = 0;
  const Clock::time_point drainStart = Clock::now();
  log.WaitThreadForExit();
  std::printf("queue drained in %.1f s (%d hits)\n",
              std::chrono::duration<double>(Clock::now() - drainStart).count(), hits.load());
  ResetEndpoints();
  return 0;
}
