// Built into libweblog.so only: the programs that load it have no log
// storage of their own to lend (the stub defines its own in its main file).
#include <easylogging++.h>

INITIALIZE_EASYLOGGINGPP

namespace {

// A host program's standard output is not the library's to write to; its
// failures go to the library log.
[[maybe_unused]] const bool kQuietLog = [] {
  el::Configurations quiet;
  quiet.setToDefault();
  quiet.setGlobally(el::ConfigurationType::ToStandardOutput, "false");
  el::Loggers::reconfigureAllLoggers(quiet);
  return true;
}();

}  // namespace
