#pragma once
// Owning pointers for libcurl's easy handles and header lists.

#include <curl/curl.h>

#include <memory>
#include <string>
#include <vector>

using EasyHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// Null when libcurl cannot make one.
EasyHandle MakeEasyHandle();
// Stops at the first line libcurl cannot append; `complete` (when given)
// tells whether every line made it.
HeaderList MakeHeaderList(const std::vector<std::string>& lines, bool* complete = nullptr);
