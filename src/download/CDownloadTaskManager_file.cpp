// The task-information file: the manager's fields and every task, as XML
// with CR LF line ends, replaced as a whole on every save.
#include <tinyxml2.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

#include "download/CDownloadTaskManager.h"
#include "telemetry/SingleUserLog.h"

namespace {

using tinyxml2::XMLElement;
using tinyxml2::XMLPrinter;

void PushElement(XMLPrinter& printer, const char* name, std::int64_t value) {
  printer.OpenElement(name);
  printer.PushText(value);
  printer.CloseElement();
}

void PushElement(XMLPrinter& printer, const char* name, const std::string& value) {
  printer.OpenElement(name);
  printer.PushText(value.c_str());
  printer.CloseElement();
}

std::string WithCrLf(std::string_view text) {
  std::string converted;
  converted.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

// The whole element text as a decimal number within [min, max]; anything
// else, also a missing element, is nullopt.
template <class Int>
std::optional<Int> NumberIn(const XMLElement* parent, const char* name, Int min, Int max) {
  const XMLElement* element = parent->FirstChildElement(name);
  const char* text = element ? element->GetText() : nullptr;
  if (!text) return std::nullopt;
  std::string_view view(text);
  const std::size_t first = view.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::nullopt;
  view = view.substr(first, view.find_last_not_of(" \t\r\n") - first + 1);
  Int value{};
  const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
  if (error != std::errc() || end != view.data() + view.size() || value < min || value > max)
    return std::nullopt;
  return value;
}

std::optional<std::string> TextOf(const XMLElement* parent, const char* name) {
  const XMLElement* element = parent->FirstChildElement(name);
  if (!element) return std::nullopt;
  const char* text = element->GetText();
  return std::string(text ? text : "");
}

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

// A task as stored, or null when any of its values cannot be right for a
// file of `contentLength` bytes.
std::unique_ptr<CTask> ReadTask(const XMLElement* element, std::int64_t contentLength) {
  const auto start = NumberIn<std::int64_t>(element, "StartPos", 0, contentLength);
  const auto end = NumberIn<std::int64_t>(element, "EndPos", 0, contentLength);
  const auto downloaded = NumberIn<std::int64_t>(element, "DownloadedPos", 0, contentLength);
  const auto status = NumberIn<std::int32_t>(element, "TaskStatus", 0, 3);
  const auto id = NumberIn<std::int32_t>(element, "TaskId", 1, kInt32Max);
  auto remotePath = TextOf(element, "RemotePath");
  auto localPath = TextOf(element, "LocalPath");
  if (!start || !end || !downloaded || !status || !id || !remotePath || remotePath->empty() ||
      !localPath || *downloaded < *start || *downloaded > *end)
    return nullptr;
  auto task = std::make_unique<CTask>();
  task->StartPos = *start;
  task->EndPos = *end;
  task->DownloadedPos.store(*downloaded);
  // A task stored as done short of its end would never be fetched again.
  task->TaskStatus.store(*status == 1 && *downloaded != *end ? 0 : *status);
  task->TaskId.store(*id);
  task->RemotePath = std::move(*remotePath);
  task->LocalPath = std::move(*localPath);
  task->contentLength = contentLength;
  return task;
}

}  // namespace

bool CDownloadTaskManager::taskInfoFileExists() const {
  return std::ifstream(taskInfoPath_, std::ios::binary).is_open();
}

bool CDownloadTaskManager::loadTaskFromFile() {
  if (ReadTaskFile() != FileState::kLoaded) return false;
  return todoTasks_.empty();
}

// Nothing of a file that is not wholly right is taken: a single wrong
// position would write foreign bytes into the package.
CDownloadTaskManager::FileState CDownloadTaskManager::ReadTaskFile() {
  clearTasks();
  std::ifstream in(taskInfoPath_, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  tinyxml2::XMLDocument document;
  if (!in.is_open() || in.bad() ||
      document.Parse(bytes.data(), bytes.size()) != tinyxml2::XML_SUCCESS)
    return FileState::kUnreadable;
  const XMLElement* root = document.RootElement();
  if (!root || std::string_view(root->Name()) != "TaskInfo") return FileState::kUnreadable;

  const auto count = NumberIn<std::int32_t>(root, "TasksCount", 0, kInt32Max);
  const auto length = NumberIn<std::int64_t>(root, "ContentLength", 0, kMaxContentLength);
  const auto time = NumberIn<std::int64_t>(root, "DownloadTime", 0, kInt64Max);
  if (!count || !length || !time) return FileState::kInvalid;
  std::vector<std::unique_ptr<CTask>> tasks;
  for (const XMLElement* element = root->FirstChildElement("Task"); element;
       element = element->NextSiblingElement("Task")) {
    std::unique_ptr<CTask> task = ReadTask(element, *length);
    if (!task) return FileState::kInvalid;
    tasks.push_back(std::move(task));
  }
  if (static_cast<std::size_t>(*count) != tasks.size()) return FileState::kInvalid;

  TasksCount = *count;
  ContentLength = *length;
  DownloadTime = *time;
  for (std::unique_ptr<CTask>& task : tasks) {
    // Lets the validation's probe answer without asking the server again.
    userLog_.SetUrlContentLength(task->RemotePath, ContentLength);
    addTask(task.release());
  }
  LogTaskCounts("load");
  return FileState::kLoaded;
}

std::string CDownloadTaskManager::TaskFileText() const {
  XMLPrinter printer;
  printer.OpenElement("TaskInfo");
  PushElement(printer, "TasksCount", TasksCount);
  PushElement(printer, "ContentLength", ContentLength);
  PushElement(printer, "DownloadTime", DownloadTime);
  for (const CTask* task : allTasks_) {
    // A worker stores the position before the status "done": reading them
    // the other way round, a "done" read here comes with the final position.
    const std::int32_t status = task->TaskStatus.load();
    const std::int64_t downloaded = task->DownloadedPos.load();
    printer.OpenElement("Task");
    PushElement(printer, "StartPos", task->StartPos);
    PushElement(printer, "EndPos", task->EndPos);
    PushElement(printer, "DownloadedPos", downloaded);
    PushElement(printer, "RemotePath", task->RemotePath);
    PushElement(printer, "LocalPath", task->LocalPath);
    PushElement(printer, "TaskStatus", status);
    PushElement(printer, "TaskId", task->TaskId.load());
    PushElement(printer, "RequestTimes", task->RequestTimes.load());
    printer.CloseElement();
  }
  printer.CloseElement();
  return WithCrLf(std::string_view(printer.CStr(), printer.CStrSize() - 1));
}

// Written beside the file and renamed over it, so that a crash or a full
// disk leaves the previous state instead of half a file.
bool CDownloadTaskManager::saveTaskToFile() {
  const std::string text = TaskFileText();
  const std::string temporary = taskInfoPath_ + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), taskInfoPath_.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
