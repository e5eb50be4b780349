#include "download/curl_handles.h"

EasyHandle MakeEasyHandle() { return EasyHandle(curl_easy_init(), &curl_easy_cleanup); }

HeaderList MakeHeaderList(std::initializer_list<const char*> lines) {
  HeaderList list(nullptr, &curl_slist_free_all);
  for (const char* line : lines) {
    curl_slist* grown = curl_slist_append(list.get(), line);
    if (!grown) break;
    // The head stays the same once there is one; ownership moves only then.
    static_cast<void>(list.release());
    list.reset(grown);
  }
  return list;
}
