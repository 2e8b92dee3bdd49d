#include "app/Qelunit.h"

BQELunit::BQELunit() = default;

BQELunit::~BQELunit() = default;
