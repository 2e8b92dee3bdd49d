#pragma once
// The central object's dictionary.
#include "PtrList.h"
#include "texts/Dictionary.h"

struct TextsState {
  // Parameter-name dictionary (texts/Dictionary.cpp).
  TPtrList<LDictCell>* DictCells = nullptr;
};
