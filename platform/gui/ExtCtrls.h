#pragma once
// Panels, bevels and timers.
#include "Bevel.h"
#include "ColorBox.h"
#include "Image.h"
#include "PaintBox.h"
#include "Panel.h"
#include "Splitter.h"
#include "Timer.h"
