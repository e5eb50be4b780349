// The multipart upload of diagnostic packages to the log-upload endpoint.
#include <iostream>
#include <memory>

#include "config/endpoints.h"
#include "download/CLibcurlTool.h"
#include "net/curl_handles.h"
#include "download/curl_options.h"
#include "system/text_conversion.h"
#include "system/time_stamp.h"

namespace {

constexpr const char* kUploadPath = "/v1/productLogUpload";

using MimeForm = std::unique_ptr<curl_mime, decltype(&curl_mime_free)>;

// From the last '.' of the file name, ".tmp" when it has none; a dot in a
// folder name is not an extension.
std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  const bool inName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return inName ? path.substr(dot) : ".tmp";
}

CURLcode AddTextPart(curl_mime* form, const char* name, const std::string& value) {
  curl_mimepart* part = curl_mime_addpart(form);
  if (!part) return CURLE_OUT_OF_MEMORY;
  const CURLcode code = curl_mime_name(part, name);
  return code != CURLE_OK ? code : curl_mime_data(part, value.data(), value.size());
}

CURLcode AddFilePart(curl_mime* form, const std::string& path, const std::string& fileName) {
  curl_mimepart* part = curl_mime_addpart(form);
  if (!part) return CURLE_OUT_OF_MEMORY;
  CURLcode code = curl_mime_name(part, "file");
  if (code == CURLE_OK) code = curl_mime_filedata(part, path.c_str());
  return code != CURLE_OK ? code : curl_mime_filename(part, fileName.c_str());
}

CURLcode BuildForm(curl_mime* form, const std::string& localPath, const std::string& uploadName,
                   const std::string& productId, const std::string& version,
                   const std::string& catalogue) {
  if (!form) return CURLE_OUT_OF_MEMORY;
  CURLcode code = AddFilePart(form, localPath, AnsiToUtf8(uploadName));
  if (code == CURLE_OK) code = AddTextPart(form, "product_id", productId);
  if (code == CURLE_OK) code = AddTextPart(form, "version", version);
  if (code == CURLE_OK && !catalogue.empty()) code = AddTextPart(form, "catalogue", catalogue);
  return code;
}

}  // namespace

int CLibcurlTool::UploadFile(std::string localPath, std::string uploadName, std::string productId,
                             std::string version, std::string catalogue) {
  if (localPath.size() < 5) return -1;
  const EasyHandle curl = MakeEasyHandle();
  if (!curl) {
    std::cout << "Failed to initialize cURL" << std::endl;
    return -2;
  }
  if (uploadName.empty()) {
    uploadName = "NoName_" + WideToUtf8(LocalTimeStamp()) + ExtensionOf(localPath);
  }
  const MimeForm form(curl_mime_init(curl.get()), &curl_mime_free);
  const HeaderList headers = MakeHeaderList({"content-type:multipart/form-data", "Accept:*/*"});
  const std::string endpoint = GetEndpoints().logUpload + kUploadPath;
  std::string response;
  CURLcode code = BuildForm(form.get(), localPath, uploadName, productId, version, catalogue);
  if (code == CURLE_OK) {
    code = CurlOptions(curl.get())
               .VerifyTls()
               .Set(CURLOPT_HTTPHEADER, headers.get())
               .Set(CURLOPT_URL, endpoint.c_str())
               .Set(CURLOPT_MIMEPOST, form.get())
               .Set(CURLOPT_NOPROGRESS, 1L)
               .Set(CURLOPT_WRITEFUNCTION, &CollectInto<std::string>)
               .Set(CURLOPT_WRITEDATA, static_cast<void*>(&response))
               .Perform();
  }
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  std::cout << "Response from server:\n" << response << std::endl;
  return code == CURLE_OK && status == 200 ? 0 : -3;
}
