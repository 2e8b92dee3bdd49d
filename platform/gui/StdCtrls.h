#pragma once
// Standard controls.
#include "Label.h"
#include "Memo.h"
