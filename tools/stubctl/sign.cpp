// stubctl sign --key KEY --cert CERT [--chain PEM] FILE
// Appends a detached CMS signature (SHA-256, with the signer's certificate
// and the chain) in the kernel's module-signature layout, replacing an
// earlier one.
#include <fcntl.h>
#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "commands.h"
#include "system/module_signature.h"
#include "system/signature.h"
#include "temp_file.h"

namespace stubctl {
namespace {

constexpr std::string_view kName = "sign";

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

void FreeCertificates(STACK_OF(X509) * certificates) {
  sk_X509_pop_free(certificates, X509_free);
}

std::string OpenSslError() {
  const unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return "unknown OpenSSL error";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

// The length of the bytes before an existing signature, or the whole size
// when the file carries none that parses; a broken trailer stays content so
// that nothing the maker wrote is cut silently.
std::uint64_t UnsignedLength(int fd, std::uint64_t size) {
  if (size < module_signature::kTrailerSize) return size;
  std::string tail(module_signature::kTrailerSize, '\0');
  if (!ReadAt(fd, size - tail.size(), tail.data(), tail.size())) return size;
  const module_signature::Trailer trailer = module_signature::ParseTrailer(tail, size);
  if (trailer.state != module_signature::TrailerState::kPresent) return size;
  std::string der(static_cast<std::size_t>(trailer.signatureLength), '\0');
  if (!ReadAt(fd, trailer.contentLength, der.data(), der.size())) return size;
  const auto* cursor = reinterpret_cast<const unsigned char*>(der.data());
  Owned<CMS_ContentInfo, CMS_ContentInfo_free> cms(
      d2i_CMS_ContentInfo(nullptr, &cursor, static_cast<long>(der.size())));
  ERR_clear_error();
  if (!cms || OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed) return size;
  return trailer.contentLength;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

}  // namespace

int SignFile(const std::string& keyFile, const std::string& certFile,
             const std::string& chainFile, const std::string& target, std::string_view command,
             int* signatureBytes) {
  Owned<BIO, BIO_free_all> keyBio(BIO_new_file(keyFile.c_str(), "r"));
  Owned<EVP_PKEY, EVP_PKEY_free> key(
      keyBio ? PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key) return ReportError(command, "cannot read the private key " + keyFile);
  Owned<BIO, BIO_free_all> certBio(BIO_new_file(certFile.c_str(), "r"));
  Owned<X509, X509_free> cert(
      certBio ? PEM_read_bio_X509(certBio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!cert) return ReportError(command, "cannot read the certificate " + certFile);
  if (X509_check_private_key(cert.get(), key.get()) != 1) {
    ERR_clear_error();
    return ReportError(command, "the key does not belong to the certificate " + certFile);
  }
  Owned<STACK_OF(X509), FreeCertificates> chain(sk_X509_new_null());
  if (!chainFile.empty()) {
    Owned<BIO, BIO_free_all> chainBio(BIO_new_file(chainFile.c_str(), "r"));
    if (!chainBio) return ReportError(command, "cannot read the chain " + chainFile);
    while (X509* extra = PEM_read_bio_X509(chainBio.get(), nullptr, nullptr, nullptr)) {
      sk_X509_push(chain.get(), extra);
    }
    if (sk_X509_num(chain.get()) == 0) {
      return ReportError(command, "no certificate in the chain " + chainFile);
    }
  }
  ERR_clear_error();

  const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (in < 0 || ::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (in >= 0) ::close(in);
    return ReportError(command, "cannot read " + target);
  }
  struct CloseFd {
    int fd;
    ~CloseFd() { ::close(fd); }
  } closeIn{in};
  const std::uint64_t contentLength = UnsignedLength(in, static_cast<std::uint64_t>(info.st_size));

  constexpr unsigned kFlags = CMS_DETACHED | CMS_BINARY | CMS_PARTIAL;
  Owned<CMS_ContentInfo, CMS_ContentInfo_free> cms(
      CMS_sign(nullptr, nullptr, chain.get(), nullptr, kFlags));
  if (!cms || !CMS_add1_signer(cms.get(), cert.get(), key.get(), EVP_sha256(), kFlags)) {
    return ReportError(command, "cannot sign: " + OpenSslError());
  }
  {
    Owned<BIO, BIO_free_all> content(NewFileRangeBio(in, contentLength));
    if (!content || CMS_final(cms.get(), content.get(), nullptr, kFlags) != 1) {
      return ReportError(command, "cannot sign " + target + ": " + OpenSslError());
    }
  }
  unsigned char* der = nullptr;
  const int derLength = i2d_CMS_ContentInfo(cms.get(), &der);
  if (derLength <= 0) return ReportError(command, "cannot encode the signature: " + OpenSslError());
  std::string signature(reinterpret_cast<const char*>(der), static_cast<std::size_t>(derLength));
  if (signatureBytes) *signatureBytes = derLength;
  OPENSSL_free(der);
  signature += module_signature::MakeTrailer(static_cast<std::uint32_t>(derLength));

  std::string error;
  std::optional<TempFile> temp = TempFile::CreateBeside(target, "sign", error);
  if (!temp) return ReportError(command, error);
  const int out = ::open(temp->Path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (out < 0) return ReportError(command, "cannot write " + temp->Path().string());
  bool ok = true;
  std::string buffer(1 << 20, '\0');
  for (std::uint64_t done = 0; ok && done < contentLength;) {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), contentLength - done));
    ok = ReadAt(in, done, buffer.data(), chunk) && WriteAll(out, buffer.data(), chunk);
    done += chunk;
  }
  ok = ok && WriteAll(out, signature.data(), signature.size());
  // Keeps an executable package executable.
  ok = ok && ::fchmod(out, info.st_mode & 07777) == 0;
  ok = ::close(out) == 0 && ok;
  if (!ok) return ReportError(command, "cannot write " + temp->Path().string() + ": " + std::strerror(errno));
  if (!temp->CommitTo(target, error)) return ReportError(command, error);
  return 0;
}

int SignCommand(const Arguments& args) {
  std::string keyFile, certFile, chainFile, target;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if ((arg == "--key" || arg == "--cert" || arg == "--chain") && i + 1 < args.size()) {
      (arg == "--key" ? keyFile : arg == "--cert" ? certFile : chainFile) = args[++i];
    } else if (!arg.starts_with("--") && target.empty()) {
      target = arg;
    } else {
      target.clear();
      break;
    }
  }
  if (keyFile.empty() || certFile.empty() || target.empty()) {
    return ReportError(kName, "usage: stubctl sign --key KEY --cert CERT [--chain PEM] FILE");
  }

  int derLength = 0;
  if (const int failed = SignFile(keyFile, certFile, chainFile, target, kName, &derLength)) {
    return failed;
  }
  std::cout << "stubctl sign: signed " << target << " (" << derLength << " byte signature)\n";
  return 0;
}

}  // namespace stubctl
