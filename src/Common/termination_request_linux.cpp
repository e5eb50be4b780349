#include "Common/termination_request.h"

#include <glib-unix.h>
#include <glib.h>

#include <csignal>

namespace {

gboolean OnSignal(gpointer data) {
  (*static_cast<std::function<void()>*>(data))();
  return G_SOURCE_CONTINUE;
}

}  // namespace

TerminationRequest::TerminationRequest(std::function<void()> onRequest)
    : onRequest_(std::move(onRequest)) {
  const int signals[] = {SIGTERM, SIGINT, SIGHUP};
  for (int i = 0; i < 3; ++i) sources_[i] = g_unix_signal_add(signals[i], OnSignal, &onRequest_);
}

TerminationRequest::~TerminationRequest() {
  for (unsigned source : sources_) {
    if (source) g_source_remove(source);
  }
}
