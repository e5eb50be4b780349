#pragma once
// Verification of a package's embedded signature, as the Windows program's
// WinVerifyTrust check reports it.
//
// Linux: the signature is a detached CMS SignedData appended to the file in
// the kernel's module-signature layout (system/module_signature.h). It
// verifies when it matches the bytes before it and its signer chains to the
// system CA store, the endpoints' trust anchor or an anchor of the caller.

#include <cstdint>
#include <string>

struct bio_st;

// The HRESULTs the Windows check gives for the outcomes the table tells apart.
inline constexpr std::uint32_t kSignatureVerified = 0;
inline constexpr std::uint32_t kTrustNoSignature = 0x800B0100;       // TRUST_E_NOSIGNATURE
inline constexpr std::uint32_t kTrustSubjectNotTrusted = 0x800B0004;  // TRUST_E_SUBJECT_NOT_TRUSTED
inline constexpr std::uint32_t kTrustBadDigest = 0x80096010;          // TRUST_E_BAD_DIGEST

struct SignatureCheck {
  std::uint32_t result = kTrustNoSignature;
  std::string message;  // UTF-8, at most 256 characters
  bool verified = false;
};

// The result and message without logging; `extraAnchorPem` may hold any
// number of PEM certificates, or nothing.
SignatureCheck CheckEmbeddedSignature(const std::wstring& path, const std::string& extraAnchorPem);

// A read-only BIO over the first `length` bytes of the open descriptor `fd`
// (read with pread, so the descriptor's offset is untouched); the caller
// frees it and keeps `fd` open meanwhile. Lets the signed bytes stream
// through CMS without loading large packages.
bio_st* NewFileRangeBio(int fd, std::uint64_t length);

// Reads exactly `size` bytes at `offset` of the open descriptor `fd`.
bool ReadAt(int fd, std::uint64_t offset, char* out, std::size_t size);

namespace FuntionImpl {

// Logs " VerifyEmbeddedSignature result is <int32 result>, <message>".
bool VerifyEmbeddedSignature(const std::wstring& path);
bool VerifyEmbeddedSignature(const std::wstring& path, const std::string& extraAnchorPem);

}  // namespace FuntionImpl
