#pragma once
// Base URLs of the maker's services (scheme and host, no trailing "/"; the
// callers append their fixed paths). Compiled-in defaults, overridden by an
// optional "configure/endpoints.xml" of the skin package, which is how the
// demo and the tests point a stub at a local server:
//
//   <Endpoints>
//     <Endpoint name="update_server" url="http://127.0.0.1:18081"/>
//     <TrustAnchor>-----BEGIN CERTIFICATE----- ...</TrustAnchor>
//   </Endpoints>
//
// Set once at start-up, before other threads run; read from any thread.

#include <string>
#include <string_view>

struct Endpoints {
  std::string updateServer;            // update server, international host
  std::string updateServerChina;       // update server, China host
  std::string productAlert;            // error reports of the install flow
  std::string logUpload;               // diagnostic packages
  std::string logService;              // default base URL of the log service
  std::string baseUrlFileSite;         // serves the log service's base-URL file
  std::string analyticsCollector;      // funnel reports
  std::string analyticsTestCollector;  // funnel reports in the test environment
  std::string ga4Collection;           // Google Analytics 4 hits
  std::string supportService;          // feedback and tool queries
  std::string geolocation;             // IP geolocation
  std::string trustAnchorPem;          // an extra CA for HTTPS, empty when none
};

Endpoints GetEndpoints();

// Overrides the endpoints the document names; unknown names are ignored.
// A document that does not parse changes nothing and returns false with
// `error` set.
bool LoadEndpointsXml(std::string_view xml, std::string* error);

// Every service at `baseUrl`; the trust anchor stays.
void PointAllEndpointsAt(std::string_view baseUrl);

// Back to the compiled-in defaults.
void ResetEndpoints();
