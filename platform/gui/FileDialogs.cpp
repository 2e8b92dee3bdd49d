#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "Application.h"
#include "TextBoundary.h"

TOpenDialog::TOpenDialog(TComponent* AOwner) : TOpenDialog(AOwner, false)
{
}

TOpenDialog::TOpenDialog(TComponent* AOwner, bool save) : TComponent(AOwner), save_(save)
{
}

bool TOpenDialog::Execute()
{
  QFileDialog dialog;
  dialog.setAcceptMode(save_ ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(options_.Contains(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !options_.Contains(ofOverwritePrompt));
  // The list shows the descriptions alone, as the program words them.
  dialog.setOption(QFileDialog::HideNameFilterDetails);

  const QStringList filters = FilterToNameFilters(filter_);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (filterIndex_ >= 1 && filterIndex_ <= filters.size())
      dialog.selectNameFilter(filters[filterIndex_ - 1]);
  }
  if (!fileName_.empty()) {
    const QFileInfo initial(FileNameToQString(fileName_));
    if (initial.absoluteDir().exists())
      dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
  }

  const std::optional<QString> chosen = ChosenPath(dialog);
  if (!chosen)
    return false;
  fileName_ = QStringToFileName(*chosen);
  return true;
}

std::optional<QString> ChosenPath(QFileDialog& dialog)
{
  if (Application->CloseAsked())
    return std::nullopt;
  ModalLoopScope modal;
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty())
    return std::nullopt;
  return chosen.first();
}

QStringList FilterToNameFilters(const AnsiString& filter)
{
  QStringList result;
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  // A description without its patterns at the end is left out, as the system's dialog does.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'))) {
      const QString trimmed = pattern.trimmed();
      if (trimmed == QLatin1String("*.*"))
        patterns << QStringLiteral("*");
      else if (!trimmed.isEmpty())
        patterns << trimmed;
    }
    if (patterns.isEmpty())
      patterns << QStringLiteral("*");
    result << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return result;
}
