#include <easylogging++.h>

#include <iterator>

#include "download/CLibcurlTool.h"

namespace {

struct ErrorText {
  CURLcode code;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {CURLE_UNSUPPORTED_PROTOCOL, " ProtoControl Unsupport!"},
    {CURLE_FAILED_INIT, " Init Failed!"},
    {CURLE_URL_MALFORMAT, " Curl RemotePath Error"},
    {CURLE_NOT_BUILT_IN, " libcurl InitFailed，Please Try again!"},
    {CURLE_COULDNT_RESOLVE_PROXY, " Cannt resovlve proxy!"},
    {CURLE_COULDNT_RESOLVE_HOST, " cannt resovlve server!"},
    {CURLE_COULDNT_CONNECT, " Curl Connect Server Error"},
    {CURLE_WEIRD_SERVER_REPLY, " FTP服务器非法回复"},
    {CURLE_REMOTE_ACCESS_DENIED, " Acess Denied!"},
    {CURLE_FTP_ACCEPT_FAILED, " FTP连接失败"},
    {CURLE_FTP_WEIRD_PASS_REPLY, " FTP服务器未知回复"},
    {CURLE_FTP_ACCEPT_TIMEOUT, " FTP连接超时"},
    {CURLE_FTP_WEIRD_PASV_REPLY, " Curl unknow error!"},
    {CURLE_FTP_WEIRD_227_FORMAT, " Curl unknow error!"},
    {CURLE_FTP_CANT_GET_HOST, " 内部故障"},
    {CURLE_HTTP2, " HTTP2错误"},
    {CURLE_FTP_COULDNT_SET_TYPE, " FTP获取传输类型失败"},
    {CURLE_PARTIAL_FILE, " 服务器返回文件大小非法"},
    {CURLE_HTTP_RETURNED_ERROR, " HTTP请求错误"},
    {CURLE_WRITE_ERROR, " 接收数据错误"},
    {CURLE_UPLOAD_FAILED, " 上传数据错误"},
    {CURLE_READ_ERROR, " 本地文件读取错误"},
    {CURLE_OUT_OF_MEMORY, " 内存不足"},
    {CURLE_OPERATION_TIMEDOUT, " Curl Time out"},
    {CURLE_FTP_PORT_FAILED, " FTP端口失败"},
    {CURLE_RANGE_ERROR, " 请求的数据范围错误"},
};

}  // namespace

int CLibcurlTool::figureError(CURLcode code) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.code == code) {
      LOG(INFO) << entry.text;
      return 1;
    }
  }
  LOG(INFO) << " Curl Else Error: " << static_cast<int>(code);
  return 1;
}
