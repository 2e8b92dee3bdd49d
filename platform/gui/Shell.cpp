#include "Shell.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "TextBoundary.h"

void ShellOpen(const AnsiString& fileName)
{
  if (fileName.empty())
    return;
  // Absolute, so that a name starting with '-' cannot read as an option.
  RunDetached(QStringLiteral("xdg-open"), {QFileInfo(FileNameToQString(fileName)).absoluteFilePath()});
}

bool RunDetached(const QString& program, const QStringList& arguments)
{
  const QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty())
    return false;
  QProcess process;
  process.setProgram(path);
  process.setArguments(arguments);
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  return process.startDetached();
}
