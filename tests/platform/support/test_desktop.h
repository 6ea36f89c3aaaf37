// The desktop a conformance test runs on: a fresh simulated desktop on Linux, the real one on
// Windows (under Wine in CI). Both offer StartProgram and RunUntilIdle; the Linux one is the
// whole simulated desktop, for the tests that drive its clock or its world.
#pragma once

#ifdef _WIN32
#include "test_desktop_windows.h"
#define PLATFORM_TEST_SIMULATED 0
#else
#include "test_desktop_sim.h"
// Tests that inspect the simulated desktop's internals or drive its clock build only here.
#define PLATFORM_TEST_SIMULATED 1
#endif

#include <gtest/gtest.h>

#include "wide_string.h"

namespace platform_test {

// True where ntdll exports wine_get_version, which Windows' ntdll does not.
bool RunningOnWine();

}  // namespace platform_test

// Skips a test whose Windows behaviour (stated by `why`, as documented) Wine does not have.
#define SKIP_ON_WINE(why)                          \
  if (::platform_test::RunningOnWine()) {          \
    GTEST_SKIP() << "differs under Wine: " << why; \
  }
