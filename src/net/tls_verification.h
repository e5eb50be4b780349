#pragma once
// Certificate and host-name verification for an easy handle, against the
// system CA store plus, when the endpoints configuration carries one, its
// trust anchor (PEM, one or more certificates). Every HTTP client of the
// program calls this before a transfer.

#include <curl/curl.h>

CURLcode EnableTlsVerification(CURL* curl);
