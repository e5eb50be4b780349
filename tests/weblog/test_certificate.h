#pragma once
// Self-signed TLS certificates made in the test, so that HTTPS tests need no
// files from outside.

#include <string>

namespace weblog_test {

struct TestCertificate {
  std::string certificatePem;
  std::string keyPem;
};

// Its own CA, valid from an hour ago for a day, for `subjectAltName`
// ("IP:127.0.0.1", "DNS:other.example").
TestCertificate MakeSelfSignedCertificate(const std::string& subjectAltName);

}  // namespace weblog_test
