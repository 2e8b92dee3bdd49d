#pragma once
// Lookup in the table of resources built into the executable.
#include "ResourceTable.h"
#include "System.h"

// The entry named `name` of type `type` (the type as text, e.g. "RT_RCDATA"),
// both compared without regard to ASCII case; null when there is none.
const ResourceEntry* FindResource(const AnsiString& name, const AnsiString& type);
