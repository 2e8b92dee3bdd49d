#include "app/Qelunit.h"

#include "log/IgnoreFailure.h"

BQELunit::BQELunit()
{
  ErrorCells = new TPtrList<LErrorCell>;
  DataCells = new TPtrList<LDataCell>;
  MaskCells = new TPtrList<LMaskCell>;
  TypeCells = new TPtrList<LTypeCell>;
  StatusCells = new TPtrList<LStatusCell>;
  DictCells = new TPtrList<LDictCell>;

  BadValueLines = new TStringList;
  ShortRestLines = new TStringList;
  ShortLines = new TStringList;
  BadKeyLines = new TStringList;
  OtherLines = new TStringList;

  LoadDictionaryResource("dictred");
  RebuildDictionary();
}

BQELunit::~BQELunit()
{
  IgnoreFailure([&] { delete BadValueLines; });
  IgnoreFailure([&] { delete ShortRestLines; });
  IgnoreFailure([&] { delete ShortLines; });
  IgnoreFailure([&] { delete BadKeyLines; });
  IgnoreFailure([&] { delete OtherLines; });

  ClearErrorCells();
  IgnoreFailure([&] { delete ErrorCells; });
  ClearDataCells();
  IgnoreFailure([&] { delete DataCells; });
  ClearTypeCells();
  IgnoreFailure([&] { delete TypeCells; });
  ClearMaskCells();
  IgnoreFailure([&] { delete MaskCells; });
  ClearStatusCells();
  IgnoreFailure([&] { delete StatusCells; });
  ClearDictCells();
  IgnoreFailure([&] { delete DictCells; });
}
