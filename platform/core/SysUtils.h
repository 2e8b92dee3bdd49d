#pragma once
// Umbrella for the routines the program calls on strings, numbers, files and paths.
#include "Exceptions.h"
#include "FileSearch.h"
#include "Numbers.h"
#include "Paths.h"
#include "TextUtils.h"
