#pragma once
// The central object owns controls, which need the application: every test program that
// includes this header gets it made once, before its first test (headless unless told).
#include <gtest/gtest.h>

#include <cstdlib>

#include "Forms.h"

// Set for a test program started to play the program itself, which makes the application.
constexpr const char* NoApplicationVariable = "DRAVOLIN_TEST_NO_APPLICATION";

inline void EnsureProgramApplication()
{
  if (std::getenv(NoApplicationVariable))
    return;
  static int argc = 1;
  static char name[] = "program_tests";
  static char* argv[] = {name, nullptr};
  static const bool done = (setenv("QT_QPA_PLATFORM", "offscreen", 0), Application->Initialize(argc, argv), true);
  (void)done;
}

class ProgramApplicationEnvironment : public ::testing::Environment {
public:
  void SetUp() override { EnsureProgramApplication(); }
};

inline ::testing::Environment* const ProgramApplication =
    ::testing::AddGlobalTestEnvironment(new ProgramApplicationEnvironment);
