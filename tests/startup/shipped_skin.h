#pragma once
// The shipped skin package as the resource package of a window test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/temp_dir.h"
#include "ui/package.h"
#include "ui/resources.h"

namespace test {

inline testing::AssertionResult UseShippedSkin() {
  const std::string zip = ReadFile(STUB_SKIN_ZIP);
  if (zip.empty()) return testing::AssertionFailure() << "cannot read " << STUB_SKIN_ZIP;
  std::string error;
  auto package = ui::Package::FromMemory(std::vector<unsigned char>(zip.begin(), zip.end()), &error);
  if (!package) return testing::AssertionFailure() << error;
  ui::SetResourcePackage(package);
  return testing::AssertionSuccess();
}

}  // namespace test
