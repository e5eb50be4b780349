#include "routes.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

using httplib::Request;
using httplib::Response;

// The canned answers, in one place so the demo can be adjusted easily.
constexpr std::string_view kOkJson = R"({"code":0})";
constexpr std::string_view kQueryUserAnswer = "10001";  // the user id, as text
constexpr std::string_view kAddUserLogAnswer = R"({"code":0,"msg":"success"})";
// Columns: status, country, country code, region, city, the caller's IP.
constexpr std::string_view kGeolocationCsv =
    "success,United States,US,California,Los Angeles,203.0.113.7";

// Longer names would leave no room for a clash suffix under NAME_MAX.
constexpr std::size_t kMaxFileNameBytes = 200;

void Answer(Response& response, int status, std::string_view body, const char* contentType) {
  response.status = status;
  response.set_content(body.data(), body.size(), contentType);
}

void AnswerFile(Response& response, const std::filesystem::path& file, const char* contentType) {
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(file, error)) in.open(file, std::ios::binary);
  if (!in.is_open()) {
    Answer(response, 404, "no such file\n", "text/plain");
    return;
  }
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  Answer(response, 200, content, contentType);
}

void AnswerJson(Response& response, int status, std::string_view json) {
  Answer(response, status, json, "application/json");
}

// A name that stays inside the uploads folder whatever the client sent.
std::string SafeFileName(std::string name) {
  for (char& c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) c = '_';
  }
  for (std::size_t at; (at = name.find("..")) != std::string::npos;) name.replace(at, 2, "_");
  // No hidden files, and never "." itself.
  name.erase(0, name.find_first_not_of('.'));
  if (name.size() > kMaxFileNameBytes) {
    std::size_t cut = kMaxFileNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return name.empty() ? "upload" : name;
}

// The n-th alternative to `name`: "log.zip", "log-1.zip", "log-2.zip", ...
std::filesystem::path Candidate(const std::filesystem::path& dir, const std::string& name, int n) {
  if (n == 0) return dir / name;
  const std::filesystem::path plain(name);
  return dir / (plain.stem().string() + '-' + std::to_string(n) + plain.extension().string());
}

// Writes `content` under a name nobody else has taken; false on failure,
// with nothing left behind.
bool StoreUpload(const std::filesystem::path& dir, const std::string& name,
                 const std::string& content) {
  constexpr int kMaxCandidates = 10000;
  for (int n = 0; n < kMaxCandidates; ++n) {
    const std::filesystem::path path = Candidate(dir, name, n);
    // "x": exclusive creation, so concurrent uploads never share a file.
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (!file) {
      if (errno == EEXIST) continue;
      return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    if (std::fclose(file) == 0 && written) return true;
    std::filesystem::remove(path);
    return false;
  }
  return false;
}

void HandleLogUpload(const Request& request, Response& response,
                     const std::optional<std::filesystem::path>& uploadsDir) {
  if (!request.has_file("file")) {
    AnswerJson(response, 400, R"({"code":1,"msg":"no file part"})");
    return;
  }
  const httplib::MultipartFormData file = request.get_file_value("file");
  if (uploadsDir && !StoreUpload(*uploadsDir, SafeFileName(file.filename), file.content)) {
    AnswerJson(response, 500, R"({"code":1,"msg":"cannot store the file"})");
    return;
  }
  AnswerJson(response, 200, kOkJson);
}

void GetOrPost(httplib::Server& server, const std::string& path,
               const httplib::Server::Handler& handler) {
  server.Get(path, handler);
  server.Post(path, handler);
}

}  // namespace

void InstallRoutes(httplib::Server& server, const RouteSettings& settings) {
  // The answer file is read per request so that a test can change it.
  server.Get("/queryDownloader",
             [answer = settings.answerFile](const Request&, Response& response) {
               AnswerFile(response, answer, "text/xml");
             });
  GetOrPost(server, "/g/collect",
            [](const Request&, Response& response) { response.status = 204; });
  for (const char* path : {"/collect", "/collector", "/api/exception/send"}) {
    server.Post(path,
                [](const Request&, Response& response) { AnswerJson(response, 200, kOkJson); });
  }
  server.Post("/v1/productLogUpload",
              [uploads = settings.uploadsDir](const Request& request, Response& response) {
                HandleLogUpload(request, response, uploads);
              });
  // Without a file of its own, the log service is this server.
  server.Get("/downloads/service/softwarelog.txt", [settings](const Request&, Response& response) {
    if (settings.softwareLogFile) {
      AnswerFile(response, *settings.softwareLogFile, "text/plain");
    } else {
      Answer(response, 200, "http://127.0.0.1:" + std::to_string(settings.port), "text/plain");
    }
  });
  GetOrPost(server, "/QueryUser", [](const Request&, Response& response) {
    Answer(response, 200, kQueryUserAnswer, "text/plain");
  });
  GetOrPost(server, "/AddUserLog", [](const Request&, Response& response) {
    AnswerJson(response, 200, kAddUserLogAnswer);
  });
  server.Get("/csv", [](const Request&, Response& response) {
    Answer(response, 200, kGeolocationCsv, "text/csv");
  });
}
