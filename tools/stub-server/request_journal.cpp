#include "request_journal.h"

#include <json/json.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string_view>

namespace {

// Bodies larger than this are kept only in part: the journal is for reading.
constexpr std::size_t kMaxBodyBytes = 64 * 1024;

// The headers that tell how the stub talks to a service.
constexpr const char* kJournaledHeaders[] = {"user-agent", "content-type", "content-length",
                                             "range", "accept"};

std::string UtcNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(millis));
  return text;
}

// Length of the well-formed UTF-8 sequence starting at `at`, 0 when there is
// none.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t at) {
  const auto lead = static_cast<unsigned char>(s[at]);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (s.size() - at < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(s[at + k]);
    if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF)) return 0;
  }
  return length;
}

// jsoncpp misreads malformed UTF-8 and swallows the bytes after it, so
// anything that is not UTF-8 becomes U+FFFD first.
std::string AsUtf8Text(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes, at);
    if (length == 0) {
      text += "\xEF\xBF\xBD";
      ++at;
    } else {
      text.append(bytes.substr(at, length));
      at += length;
    }
  }
  return text;
}

// An upload is summarised: its bytes say nothing a test would read.
std::string MultipartSummary(const httplib::MultipartFormDataMap& parts) {
  std::string summary = "multipart:";
  for (const auto& [name, part] : parts) {
    summary += ' ' + name;
    if (!part.filename.empty()) {
      summary +=
          "(filename=\"" + part.filename + "\", " + std::to_string(part.content.size()) + " bytes)";
    }
  }
  return AsUtf8Text(summary);
}

std::string BodyText(const httplib::Request& request) {
  if (request.is_multipart_form_data()) return MultipartSummary(request.files);
  if (request.body.size() <= kMaxBodyBytes) return AsUtf8Text(request.body);
  return AsUtf8Text(std::string_view(request.body).substr(0, kMaxBodyBytes)) + "...[cut, " +
         std::to_string(request.body.size()) + " bytes in all]";
}

Json::Value Entry(const httplib::Request& request) {
  Json::Value entry;
  entry["time"] = UtcNow();
  entry["method"] = AsUtf8Text(request.method);
  entry["path"] = AsUtf8Text(request.path);
  const std::size_t question = request.target.find('?');
  entry["query"] =
      question == std::string::npos ? "" : AsUtf8Text(request.target.substr(question + 1));
  Json::Value headers(Json::objectValue);
  for (const char* name : kJournaledHeaders) {
    if (request.has_header(name)) headers[name] = AsUtf8Text(request.get_header_value(name));
  }
  entry["headers"] = headers;
  entry["body"] = BodyText(request);
  return entry;
}

}  // namespace

RequestJournal::RequestJournal(const std::string& file) : out_(file, std::ios::app) {}

void RequestJournal::Record(const httplib::Request& request) {
  static const Json::StreamWriterBuilder kOneLine = [] {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return builder;
  }();
  const std::string line = Json::writeString(kOneLine, Entry(request)) + '\n';
  std::lock_guard<std::mutex> guard(lock_);
  out_ << line << std::flush;
  if (!out_) {
    // A full disk must not stop the server; later lines may still fit.
    std::cerr << "stub-server: cannot write the journal\n";
    out_.clear();
  }
}
