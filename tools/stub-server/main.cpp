// A local stand-in for the maker's web services, for the demo and the
// end-to-end tests: see routes.cpp for what it answers.
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "request_journal.h"
#include "routes.h"

namespace {

constexpr const char* kHost = "127.0.0.1";
constexpr const char* kUsage =
    "usage: stub-server --port N --answer FILE --journal FILE [--uploads DIR] "
    "[--softwarelog FILE]\n";

struct Options {
  std::optional<int> port;
  std::string answer;
  std::string journal;
  std::optional<std::filesystem::path> uploads;
  std::optional<std::filesystem::path> softwareLog;
};

std::optional<int> ParsePort(std::string_view text) {
  int port = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) {
    return std::nullopt;
  }
  return port;
}

// Every option takes a value; nullopt for anything else or a required one
// missing.
std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; i += 2) {
    const std::string_view name = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string value = argv[i + 1];
    if (name == "--port") {
      options.port = ParsePort(value);
      if (!options.port) return std::nullopt;
    } else if (name == "--answer") {
      options.answer = value;
    } else if (name == "--journal") {
      options.journal = value;
    } else if (name == "--uploads") {
      options.uploads = value;
    } else if (name == "--softwarelog") {
      options.softwareLog = value;
    } else {
      return std::nullopt;
    }
  }
  if (!options.port || options.answer.empty() || options.journal.empty()) return std::nullopt;
  return options;
}

// The port bound, or nullopt when it is taken or not allowed.
std::optional<int> Bind(httplib::Server& server, int port) {
  if (port == 0) {
    const int any = server.bind_to_any_port(kHost);
    return any > 0 ? std::optional<int>(any) : std::nullopt;
  }
  return server.bind_to_port(kHost, port) ? std::optional<int>(port) : std::nullopt;
}

// Serves until SIGTERM or SIGINT; false when serving failed.
bool Serve(httplib::Server& server, const sigset_t& stopSignals) {
  std::atomic<bool> over{false};
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    // A signal may come before the server has begun to accept, when stop()
    // would do nothing.
    while (!over && !server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!over) server.stop();
  });
  const bool served = server.listen_after_bind();
  over = true;
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes it when no signal came
  stopper.join();
  return served;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  RequestJournal journal(options->journal);
  if (!journal.ok()) {
    std::cerr << "stub-server: cannot open the journal " << options->journal << '\n';
    return 1;
  }
  if (options->uploads) {
    std::error_code error;
    std::filesystem::create_directories(*options->uploads, error);
    if (error) {
      std::cerr << "stub-server: cannot create " << *options->uploads << ": " << error.message()
                << '\n';
      return 1;
    }
  }

  // Blocked before the server starts its threads, so that they inherit the
  // mask and only Serve's stopper receives the signals.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  httplib::Server server;
  server.set_keep_alive_timeout(1);  // idle connections would delay the stop
  // The library's default adds SO_REUSEPORT, with which a second server on
  // the same port would silently take half of the requests.
  server.set_socket_options([](socket_t sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // Runs before the response is sent: once a client has its answer, the
  // journal holds the line.
  server.set_post_routing_handler(
      [&journal](const httplib::Request& request, httplib::Response&) { journal.Record(request); });
  const std::optional<int> port = Bind(server, *options->port);
  if (!port) {
    std::cerr << "stub-server: cannot listen on " << kHost << ':' << *options->port << '\n';
    return 1;
  }
  InstallRoutes(server, {options->answer, options->uploads, options->softwareLog, *port});
  std::cout << "listening on " << kHost << ':' << *port << std::endl;
  return Serve(server, stopSignals) ? 0 : 1;
}
