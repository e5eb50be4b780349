#pragma once
// The escaping of a GA4 hit's query text: the unreserved characters and
// ! & ' ( ) * = stay, so the caller's "&" and "=" keep separating the
// parameters; every other byte becomes "%" and two lower-case hex digits.

#include <string>
#include <string_view>

std::string EncodeGa4Query(std::string_view query);
