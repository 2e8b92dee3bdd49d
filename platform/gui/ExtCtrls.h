#pragma once
// Panels, bevels and timers.
#include "Bevel.h"
#include "Panel.h"
#include "Timer.h"
#include "ColorBox.h"
#include "Image.h"
#include "PaintBox.h"
#include "Splitter.h"
