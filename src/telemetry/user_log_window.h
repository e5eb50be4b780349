#pragma once
// What the event log asks the main window for when it builds a funnel body.
// The main window implements it and registers itself with
// CSingleUserLog::SetMainWindow while it lives.

#include <string>

class IUserLogWindow {
 public:
  // The product configuration's Software_version.
  virtual std::wstring SoftwareVersion() const = 0;
  // The language index the window shows.
  virtual int LanguageIndex() const = 0;

 protected:
  ~IUserLogWindow() = default;
};
