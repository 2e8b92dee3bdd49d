#pragma once
// Umbrella for lists and streams.
#include "StringList.h"
#include "PtrList.h"
#include "Stream.h"
#include "FileStream.h"
#include "MemoryStream.h"
#include "ResourceStream.h"
