#pragma once
// The process-wide event log of the worker pool tests sends to this local
// server, which answers every GA4 hit with 204 so that sending logs nothing.

#include "fixtures/fault_http_server.h"

namespace test {

FaultHttpServer& WorkerUserLogServer();

}  // namespace test
