#pragma once
// Looks for a file in the subfolders of a folder, at any depth.

#include <string>

// The first `folder` + subfolders + "/" + `fileName` that exists, testing
// each subfolder itself before searching below it; empty when there is
// none, also for an empty folder or file name. `folder` ends with "/" (one
// is added when it does not). Files directly in `folder` do not count.
// The order among sibling subfolders is the file system's. Symbolic links
// to folders are not entered, so a link loop cannot trap the search.
std::wstring FindFileInSubfolders(const std::wstring& folder, const std::wstring& fileName);
