#pragma once
// The program's start. One instance runs per user: a later start hands its whole command line
// to the running one, which opens the log it names, and ends.
#include "System.h"

// Names the running instance; every build that must find another uses the same text.
extern const char* const SingleInstanceSignature;

// The whole program, first or later instance; 0 in every case.
int RunDravolin(int argc, char** argv, const AnsiString& signature);
