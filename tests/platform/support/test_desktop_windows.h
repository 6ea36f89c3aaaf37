// The real desktop (Windows build): programs started by a test are threads of the test process,
// each with a message queue from the start.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "wide_string.h"

namespace platform_test {

class TestDesktop {
 public:
  TestDesktop();
  // Ends every program thread still running with WM_QUIT and waits for it.
  ~TestDesktop();
  TestDesktop(const TestDesktop&) = delete;
  TestDesktop& operator=(const TestDesktop&) = delete;

  // Starts a thread running `main` (the program `image`) and waits until it waits for input.
  // Returns this process's id, as the program runs in it.
  DWORD StartProgram(const WString& image, std::function<int()> main);
  // Waits until every program thread has taken all its posted messages, input and painting and
  // waits for more (or has ended). A thread busy for longer than 10 s fails the test.
  void RunUntilIdle();

  struct Program;

 private:
  std::vector<std::unique_ptr<Program>> programs_;
};

}  // namespace platform_test
