// The stub carries the web-log factory in its dynamic symbol table.
#include <gtest/gtest.h>

#include <sstream>

#include "fixtures/run_command.h"

namespace {

TEST(StubExports, TheDynamicSymbolTableNamesTheWebLogFactory) {
  const test::CommandResult nm = test::RunCommand({"nm", "-D", "--defined-only", STUB_BUILD_DIR "/installer-stub"});
  ASSERT_EQ(nm.exitCode, 0) << nm.err;
  for (const char* name : {"CreateExportObj", "DestroyExportObj", "NSISLog"}) {
    bool found = false;
    std::istringstream lines(nm.out);
    for (std::string line; std::getline(lines, line);) {
      // "<address> T <name>": a defined function, under its C name.
      if (line.size() > 3 && line.ends_with(std::string(" T ") + name)) found = true;
    }
    EXPECT_TRUE(found) << name;
  }
}

}  // namespace
