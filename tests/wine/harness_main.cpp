// The harness's runner: every registered test whose "Suite.Name" matches the filter, in
// registration order, each in a fixture of its own; the exit code is 1 when any failed.
#include <cstdio>
#include <memory>

#include "tests/wine/harness.h"

namespace testing::internal {

namespace {

struct Entry {
  std::string name;
  std::function<Test*()> make;
};

std::vector<Entry>& Entries() {
  static std::vector<Entry> entries;
  return entries;
}

bool g_bFailed = false;

bool Matches(const char* pattern, const char* text) {
  if (*pattern == '\0' || *pattern == ':') return *text == '\0';
  if (*pattern == '*') return Matches(pattern + 1, text) || (*text && Matches(pattern, text + 1));
  return *text && (*pattern == '?' || *pattern == *text) && Matches(pattern + 1, text + 1);
}

bool Selected(const std::string& filter, const std::string& name) {
  for (size_t start = 0; start <= filter.size();) {
    size_t end = filter.find(':', start);
    if (Matches(filter.c_str() + start, name.c_str())) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace

int Register(const char* suite, const char* name, std::function<Test*()> make) {
  Entries().push_back({std::string(suite) + "." + name, std::move(make)});
  return 0;
}

void Fail(const char* file, int line, const std::string& what, const std::string& message) {
  g_bFailed = true;
  std::printf("%s:%d: Failure\n  %s\n%s%s", file, line, what.c_str(), message.c_str(),
              message.empty() || message.back() == '\n' ? "" : "\n");
  std::fflush(stdout);
}

}  // namespace testing::internal

int main(int argc, char** argv) {
  using namespace testing::internal;
  std::string filter = "*";
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--gtest_filter=", 15) == 0) filter = argv[i] + 15;
  int run = 0;
  std::vector<std::string> failed;
  for (const Entry& entry : Entries()) {
    if (!Selected(filter, entry.name)) continue;
    std::printf("[ RUN      ] %s\n", entry.name.c_str());
    std::fflush(stdout);
    g_bFailed = false;
    {
      std::unique_ptr<testing::Test> test(entry.make());
      test->SetUp();
      if (!g_bFailed) test->TestBody();
      test->TearDown();
    }
    std::printf("[ %s ] %s\n", g_bFailed ? " FAILED " : "      OK", entry.name.c_str());
    std::fflush(stdout);
    ++run;
    if (g_bFailed) failed.push_back(entry.name);
  }
  std::printf("[==========] %d tests ran, %d failed\n", run, static_cast<int>(failed.size()));
  for (const std::string& name : failed) std::printf("[  FAILED  ] %s\n", name.c_str());
  return failed.empty() && run > 0 ? 0 : 1;
}
