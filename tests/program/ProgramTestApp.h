#pragma once
// The central object owns controls, which need the application: every test program that
// includes this header gets it made once, before its first test (headless unless told).
#include <gtest/gtest.h>

#include <cstdlib>

#include "Forms.h"

inline void EnsureProgramApplication()
{
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
