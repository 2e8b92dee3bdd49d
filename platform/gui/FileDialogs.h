#pragma once
// TOpenDialog and TSaveDialog: the file chooser over QFileDialog. The filter has the class
// library's form "description|patterns|description|patterns", patterns separated by ';'.
// File names are the file system's bytes in both directions; the filter is program text.
#include <QString>
#include <QStringList>
#include <optional>

#include "Component.h"
#include "Set.h"
#include "System.h"

enum TOpenOption { ofOverwritePrompt, ofFileMustExist };
using TOpenOptions = Set<TOpenOption>;

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* AOwner);

  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions options) { options_ = options; }
  const AnsiString& Filter() const { return filter_; }
  void SetFilter(const AnsiString& filter) { filter_ = filter; }
  // Counted from 1, as the class library counts filters.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  // Before Execute the suggested name, whose folder is where the dialog starts; after a
  // confirmed Execute the chosen file's full path.
  const AnsiString& FileName() const { return fileName_; }
  void SetFileName(const AnsiString& name) { fileName_ = name; }

  // Runs the dialog modally; false when it is cancelled, and FileName then stays as it was.
  bool Execute();

protected:
  TOpenDialog(TComponent* AOwner, bool save);

private:
  bool save_;
  TOpenOptions options_;
  AnsiString filter_;
  int filterIndex_ = 1;
  AnsiString fileName_;
};

// Asks for a name to write to. With ofOverwritePrompt it asks before an existing file is
// replaced. No extension is added: the program appends its own after the dialog.
class TSaveDialog : public TOpenDialog {
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner, true) {}
};

// The filter in Qt's form, one "description (pattern pattern)" entry per pair. "*.*" becomes
// "*", since it matches every name for the class library, names without a dot included.
QStringList FilterToNameFilters(const AnsiString& filter);

class QFileDialog;

// Runs a file dialog modally: the first path chosen, or nothing when it is cancelled or
// returns none.
std::optional<QString> ChosenPath(QFileDialog& dialog);
