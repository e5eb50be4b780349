// Reading INI files the way GetPrivateProfileString / GetPrivateProfileInt
// do: tolerant, line by line, taking what it can from a damaged file.
//
// Rules kept from Windows:
//  - Section and key names compare case-insensitively; blanks around names
//    and values are trimmed; the first matching section and the first
//    matching key in it win.
//  - Lines whose first non-blank character is ';' are comments; there are no
//    comments after a value. A value enclosed in a pair of matching quotes
//    (' or ") loses them.
//  - A missing file, section or key gives the default.
// Linux differences:
//  - Files are UTF-8 (a leading BOM is skipped); malformed bytes become
//    U+FFFD instead of being read in the ANSI code page. CR, LF and CR LF all
//    end a line.
//  - Only the first 1 MiB of a file is read.
#pragma once

#include <string>

namespace platform {

// The value's optional sign and leading decimal digits ("12abc" -> 12); a
// value without digits gives 0. As in Windows, an empty value gives the
// default (it cannot be told from a missing one) and numbers past 32 bits
// wrap around modulo 2^32.
int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                         int defaultValue, const std::wstring& file);

std::wstring GetPrivateProfileString(const std::wstring& section,
                                     const std::wstring& key,
                                     const std::wstring& defaultValue,
                                     const std::wstring& file);

}  // namespace platform
