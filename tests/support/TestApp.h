#pragma once
// The one application of a test program: made once, before its first test, headless unless
// the caller chose a platform. Controls, timers and the central object all need it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include "Forms.h"

// The test program's own name, as its command line's first word.
inline char* TestProgramName()
{
  return program_invocation_short_name;
}

inline void EnsureTestApplication()
{
  static int argc = 1;
  static char* argv[] = {TestProgramName(), nullptr};
  static const bool done = (setenv("QT_QPA_PLATFORM", "offscreen", 0), Application->Initialize(argc, argv), true);
  (void)done;
}

class TestApplicationEnvironment : public ::testing::Environment {
public:
  void SetUp() override { EnsureTestApplication(); }
};

inline ::testing::Environment* const TestApplication =
    ::testing::AddGlobalTestEnvironment(new TestApplicationEnvironment);
