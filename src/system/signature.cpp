#include "system/signature.h"

#include <easylogging++.h>
#include <fcntl.h>
#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string_view>

#include "config/endpoints.h"
#include "platform/utf8.h"
#include "system/module_signature.h"

namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

void FreeCertificates(STACK_OF(X509) * certificates) {
  sk_X509_pop_free(certificates, X509_free);
}
using OwnedCertificates = Owned<STACK_OF(X509), FreeCertificates>;

// A signature this large is not a signature; refusing it keeps a hostile
// length from making us allocate gigabytes.
constexpr std::uint64_t kMaxSignatureLength = 16u << 20;

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// State of a range BIO: where the next read starts and where the range ends.
struct Range {
  int fd;
  std::uint64_t position;
  std::uint64_t end;
};

int RangeRead(BIO* bio, char* out, int size) {
  auto* range = static_cast<Range*>(BIO_get_data(bio));
  if (size <= 0 || range->position >= range->end) return 0;
  const std::uint64_t left = range->end - range->position;
  const std::size_t want =
      static_cast<std::size_t>(left < static_cast<std::uint64_t>(size) ? left : size);
  ssize_t got;
  do {
    got = ::pread(range->fd, out, want, static_cast<off_t>(range->position));
  } while (got < 0 && errno == EINTR);
  // A file that shrinks under us must not pass for a shorter signed file.
  if (got <= 0) return -1;
  range->position += static_cast<std::uint64_t>(got);
  return static_cast<int>(got);
}

long RangeCtrl(BIO* bio, int command, long, void*) {
  auto* range = static_cast<Range*>(BIO_get_data(bio));
  switch (command) {
    case BIO_CTRL_EOF:
      return range->position >= range->end ? 1 : 0;
    case BIO_CTRL_PENDING:
    case BIO_CTRL_WPENDING:
      return 0;
    case BIO_CTRL_FLUSH:
      return 1;
    default:
      return 0;
  }
}

int RangeDestroy(BIO* bio) {
  delete static_cast<Range*>(BIO_get_data(bio));
  BIO_set_data(bio, nullptr);
  return 1;
}

const BIO_METHOD* RangeMethod() {
  static BIO_METHOD* const method = [] {
    BIO_METHOD* created = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "file range");
    BIO_meth_set_read(created, RangeRead);
    BIO_meth_set_ctrl(created, RangeCtrl);
    BIO_meth_set_destroy(created, RangeDestroy);
    return created;
  }();
  return method;
}

bool AddPemAnchors(X509_STORE* store, const std::string& pem) {
  if (pem.empty()) return true;
  Owned<BIO, BIO_free_all> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) return false;
  bool any = false;
  while (X509* certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
    X509_STORE_add_cert(store, certificate);  // fails only for duplicates
    X509_free(certificate);
    any = true;
  }
  ERR_clear_error();  // the end of the text reads as an error
  return any;
}

enum class Outcome { kVerified, kNotSigned, kBroken, kNotTrusted, kBadDigest };

Outcome Check(const std::wstring& path, const std::string& extraAnchorPem) {
  const std::string file = platform::ToUtf8(path);
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return Outcome::kNotSigned;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size < module_signature::kTrailerSize) return Outcome::kNotSigned;
  std::string tail(module_signature::kTrailerSize, '\0');
  if (!ReadAt(fd.get(), size - tail.size(), tail.data(), tail.size())) return Outcome::kBroken;
  const module_signature::Trailer trailer = module_signature::ParseTrailer(tail, size);
  if (trailer.state == module_signature::TrailerState::kAbsent) return Outcome::kNotSigned;
  if (trailer.state == module_signature::TrailerState::kBroken ||
      trailer.signatureLength > kMaxSignatureLength) {
    return Outcome::kBroken;
  }

  std::string der(static_cast<std::size_t>(trailer.signatureLength), '\0');
  if (!ReadAt(fd.get(), trailer.contentLength, der.data(), der.size())) return Outcome::kBroken;
  const auto* cursor = reinterpret_cast<const unsigned char*>(der.data());
  Owned<CMS_ContentInfo, CMS_ContentInfo_free> cms(
      d2i_CMS_ContentInfo(nullptr, &cursor, static_cast<long>(der.size())));
  if (!cms || OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed) {
    ERR_clear_error();
    return Outcome::kBroken;
  }
  STACK_OF(CMS_SignerInfo)* signers = CMS_get0_SignerInfos(cms.get());
  if (sk_CMS_SignerInfo_num(signers) <= 0) return Outcome::kBroken;
  // A signer whose certificate is not carried cannot chain to anything.
  if (CMS_set1_signers_certs(cms.get(), nullptr, 0) != sk_CMS_SignerInfo_num(signers)) {
    ERR_clear_error();
    return Outcome::kNotTrusted;
  }

  // The digest first, with the chain checked apart: CMS_verify's one failure
  // code would not tell a tampered file from an untrusted signer.
  Owned<BIO, BIO_free_all> content(NewFileRangeBio(fd.get(), trailer.contentLength));
  if (!content) return Outcome::kBroken;
  if (CMS_verify(cms.get(), nullptr, nullptr, content.get(), nullptr,
                 CMS_BINARY | CMS_NO_SIGNER_CERT_VERIFY) != 1) {
    ERR_clear_error();
    return Outcome::kBadDigest;
  }

  Owned<X509_STORE, X509_STORE_free> store(X509_STORE_new());
  if (!store) return Outcome::kBroken;
  X509_STORE_set_default_paths(store.get());
  AddPemAnchors(store.get(), GetEndpoints().trustAnchorPem);
  AddPemAnchors(store.get(), extraAnchorPem);
  ERR_clear_error();
  OwnedCertificates carried(CMS_get1_certs(cms.get()));
  for (int i = 0; i < sk_CMS_SignerInfo_num(signers); ++i) {
    X509* signer = nullptr;
    CMS_SignerInfo_get0_algs(sk_CMS_SignerInfo_value(signers, i), nullptr, &signer, nullptr,
                             nullptr);
    Owned<X509_STORE_CTX, X509_STORE_CTX_free> context(X509_STORE_CTX_new());
    if (!signer || !context ||
        X509_STORE_CTX_init(context.get(), store.get(), signer, carried.get()) != 1 ||
        X509_verify_cert(context.get()) != 1) {
      ERR_clear_error();
      return Outcome::kNotTrusted;
    }
  }
  return Outcome::kVerified;
}

std::wstring Format(std::wstring_view before, const std::wstring& path, std::wstring_view after) {
  std::wstring text(before);
  text += path;
  text += after;
  return text;
}

}  // namespace

bool ReadAt(int fd, std::uint64_t offset, char* out, std::size_t size) {
  while (size > 0) {
    const ssize_t got = ::pread(fd, out, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    size -= static_cast<std::size_t>(got);
    offset += static_cast<std::uint64_t>(got);
  }
  return true;
}

bio_st* NewFileRangeBio(int fd, std::uint64_t length) {
  BIO* bio = BIO_new(RangeMethod());
  if (!bio) return nullptr;
  BIO_set_data(bio, new Range{fd, 0, length});
  BIO_set_init(bio, 1);
  return bio;
}

SignatureCheck CheckEmbeddedSignature(const std::wstring& path, const std::string& extraAnchorPem) {
  SignatureCheck check;
  std::wstring message;
  switch (Check(path, extraAnchorPem)) {
    case Outcome::kVerified:
      check.result = kSignatureVerified;
      check.verified = true;
      message = Format(L"The file \"", path, L"\" is signed and the signature was verified.");
      break;
    case Outcome::kNotSigned:
      check.result = kTrustNoSignature;
      message = Format(L"The file \"", path, L"\" is not signed.");
      break;
    case Outcome::kBroken:
      check.result = kTrustNoSignature;
      message = Format(L"An unknown error occurred trying to verify the signature of the \"", path,
                       L"\" file.");
      break;
    case Outcome::kNotTrusted:
      check.result = kTrustSubjectNotTrusted;
      message = L"The signature is present, but not trusted.";
      break;
    case Outcome::kBadDigest: {
      check.result = kTrustBadDigest;
      char text[32];
      std::snprintf(text, sizeof text, "Error is: 0x%x.", static_cast<unsigned>(check.result));
      message = platform::FromUtf8(text);
      break;
    }
  }
  // The Windows program formats into a 256-character buffer.
  if (message.size() > 256) message.resize(256);
  check.message = platform::ToUtf8(message);
  return check;
}

namespace FuntionImpl {

bool VerifyEmbeddedSignature(const std::wstring& path, const std::string& extraAnchorPem) {
  const SignatureCheck check = CheckEmbeddedSignature(path, extraAnchorPem);
  LOG(INFO) << " VerifyEmbeddedSignature result is "
            << static_cast<std::int32_t>(check.result) << ", " << check.message;
  return check.verified;
}

bool VerifyEmbeddedSignature(const std::wstring& path) { return VerifyEmbeddedSignature(path, {}); }

}  // namespace FuntionImpl
