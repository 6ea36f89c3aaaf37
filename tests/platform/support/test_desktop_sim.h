// The simulated desktop of one test (Linux build).
#pragma once

#include <windows.h>

#include <sim/desktop.h>

#include <functional>
#include <string>

namespace platform_test {

class TestDesktop : public sim::Desktop {
 public:
  // Starts a process `image` whose main thread runs `main`, and runs until every thread waits.
  DWORD StartProgram(const std::u16string& image, std::function<int()> main) {
    DWORD pid = StartProcess(sim::ProcessInfo{0, image, u"C:\\" + image, image}, std::move(main));
    RunUntilIdle();
    return pid;
  }
};

}  // namespace platform_test
