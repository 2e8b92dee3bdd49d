#pragma once
// The class library's dialogs unit: file choosers, the input query and the message.
#include "FileDialogs.h"
#include "InputDialogs.h"
