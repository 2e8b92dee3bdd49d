#pragma once
// Forms and the application object.
#include "Application.h"
#include "Form.h"
#include "ScrollBox.h"
