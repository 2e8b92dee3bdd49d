#pragma once
// Umbrella for lists and streams.
#include "FileStream.h"
#include "MemoryStream.h"
#include "PtrList.h"
#include "ResourceStream.h"
#include "Stream.h"
#include "StringList.h"
