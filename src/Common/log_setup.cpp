#include "Common/log_setup.h"

#include <easylogging++.h>

#include "system/text_conversion.h"

void ConfigureLogFile(const std::wstring& logPath) {
  el::Configurations conf;
  conf.setToDefault();
  conf.set(el::Level::Info, el::ConfigurationType::Format, "%datetime--[Thread](%thread) %msg");
  conf.set(el::Level::Info, el::ConfigurationType::Enabled, "true");
  conf.set(el::Level::Info, el::ConfigurationType::ToStandardOutput, "true");
  conf.set(el::Level::Info, el::ConfigurationType::ToFile, "true");
  conf.set(el::Level::Info, el::ConfigurationType::Filename, WideToAnsi(logPath));
  el::Loggers::reconfigureLogger("default", conf);
  // Our own crash handler reports crashes; a fatal line must not abort.
  el::Loggers::addFlag(el::LoggingFlag::DisableApplicationAbortOnFatalLog);
  el::Loggers::removeFlag(el::LoggingFlag::LogDetailedCrashReason);
}
