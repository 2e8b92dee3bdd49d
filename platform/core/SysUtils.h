#pragma once
// Umbrella for the routines the program calls on strings, numbers, files and paths.
#include "Exceptions.h"
#include "Numbers.h"
#include "TextUtils.h"
#include "Paths.h"
#include "FileSearch.h"
