// libweblog.so as other programs load it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "fixtures/run_command.h"
#include "weblog/web_log_exports.h"

namespace {

TEST(SharedLibrary, ExportsTheThreeNamesAndNothingElse) {
  const test::CommandResult symbols =
      test::RunCommand({"nm", "-D", "--defined-only", WEBLOG_SHARED_LIBRARY});
  ASSERT_EQ(symbols.exitCode, 0) << symbols.err;
  std::set<std::string> names;
  std::istringstream lines(symbols.out);
  for (std::string address, type, name; lines >> address >> type >> name;) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"CreateExportObj", "DestroyExportObj", "NSISLog"}));
}

TEST(SharedLibrary, CreatesAndDestroysObjects) {
  void* library = dlopen(WEBLOG_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto create = reinterpret_cast<IWebLog* (*)()>(dlsym(library, "CreateExportObj"));
  const auto destroy = reinterpret_cast<void (*)(IWebLog*)>(dlsym(library, "DestroyExportObj"));
  ASSERT_NE(create, nullptr);
  ASSERT_NE(destroy, nullptr);
  ASSERT_NE(dlsym(library, "NSISLog"), nullptr);
  // The library's own code, not the copy linked into this test.
  EXPECT_NE(reinterpret_cast<void*>(create), reinterpret_cast<void*>(&CreateExportObj));

  IWebLog* first = create();
  IWebLog* second = create();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->SendGA4Event(""), 254);  // through the table, without the network
  destroy(first);
  destroy(second);
  destroy(nullptr);
  EXPECT_EQ(dlclose(library), 0) << dlerror();
}

}  // namespace
