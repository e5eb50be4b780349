#include "net/curl_handles.h"

EasyHandle MakeEasyHandle() { return EasyHandle(curl_easy_init(), &curl_easy_cleanup); }

HeaderList MakeHeaderList(const std::vector<std::string>& lines, bool* complete) {
  HeaderList list(nullptr, &curl_slist_free_all);
  if (complete) *complete = false;
  for (const std::string& line : lines) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return list;
    // The head stays the same once there is one; ownership moves only then.
    static_cast<void>(list.release());
    list.reset(grown);
  }
  if (complete) *complete = true;
  return list;
}
