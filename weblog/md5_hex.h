#pragma once
// MD5 digest as 32 lower-case hexadecimal digits.

#include <string>
#include <string_view>

// Empty when the crypto library refuses (MD5 disabled by policy).
std::string Md5Hex(std::string_view data);
