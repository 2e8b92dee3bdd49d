#pragma once
// The table of built-in resources; one table is generated per executable from a folder of files.
#include <cstddef>

struct ResourceEntry {
  const char* Name;
  const char* Type;
  const unsigned char* Data;
  std::size_t Size;
};

// Defined by the generated resource library that the executable links.
const ResourceEntry* ResourceTable(std::size_t& count);
