#include "FileCtrl.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "FileDialogs.h"
#include "TextBoundary.h"

namespace {

class FolderDialog : public QFileDialog {
public:
  explicit FolderDialog(TSelectDirOpts options) : options_(options)
  {
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly);
    // A read-only dialog offers no "new folder".
    setOption(QFileDialog::ReadOnly, !options.Contains(sdAllowCreate));
  }

  void accept() override
  {
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty() || !options_.Contains(sdAllowCreate) || QFileInfo::exists(chosen.first())) {
      QFileDialog::accept();
      return;
    }
    const QString folder = chosen.first();
    if (options_.Contains(sdPrompt) && !Confirm(folder))
      return;
    if (options_.Contains(sdPerformCreate) && !QDir().mkpath(folder)) {
      Tell(QStringLiteral("The folder \"%1\" cannot be created.").arg(folder));
      return;
    }
    if (QFileInfo::exists(folder))
      QFileDialog::accept();
    else
      QDialog::accept();  // Qt's own check refuses missing folders; this one is wanted as typed
  }

private:
  bool Confirm(const QString& folder)
  {
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("The folder \"%1\" does not exist.\nCreate it?").arg(folder),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
  }

  void Tell(const QString& text)
  {
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
  }

  TSelectDirOpts options_;
};

}  // namespace

bool SelectDirectory(AnsiString& Directory, TSelectDirOpts Options, int HelpCtx)
{
  (void)HelpCtx;
  FolderDialog dialog(Options);
  if (!Directory.empty())
    dialog.setDirectory(FileNameToQString(Directory));
  const std::optional<QString> chosen = ChosenPath(dialog);
  if (!chosen)
    return false;
  Directory = QStringToFileName(QDir::cleanPath(*chosen));
  return true;
}
