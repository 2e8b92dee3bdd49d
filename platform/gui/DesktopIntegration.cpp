#include "DesktopIntegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "Shell.h"
#include "TextBoundary.h"

namespace {

// The class name as MIME subtypes and desktop-file names have it: lower-case letters, digits,
// '-', '.' and '+'; anything else becomes '-'.
QString TypeName(const AnsiString& className)
{
  QString name;
  for (char c : className) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '+')
      name += QLatin1Char(c);
    else if (byte >= 'A' && byte <= 'Z')
      name += QLatin1Char(static_cast<char>(byte - 'A' + 'a'));
    else
      name += QLatin1Char('-');
  }
  return name;
}

QByteArray MimePackage(const QString& type, const QString& extension, const QString& description)
{
  return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                        "  <mime-type type=\"%1\">\n"
                        "    <comment>%2</comment>\n"
                        "    <sub-class-of type=\"text/plain\"/>\n"
                        "    <glob pattern=\"*%3\"/>\n"
                        "  </mime-type>\n"
                        "</mime-info>\n")
      .arg(type, description.toHtmlEscaped(), extension.toHtmlEscaped())
      .toUtf8();
}

// One argument of Exec in quotes: '"', '`', '$' and '\' take a backslash, and '%' is doubled
// so that it is no field code.
QByteArray QuoteExecArgument(const AnsiString& argument)
{
  QByteArray quoted("\"");
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\')
      quoted += '\\';
    else if (c == '%')
      quoted += '%';
    quoted += c;
  }
  return quoted + '"';
}

// The string escapes every value of a desktop entry gets, applied after the quoting above.
QByteArray EscapeValue(const QByteArray& value)
{
  QByteArray escaped;
  for (char c : value) {
    switch (c) {
    case '\\': escaped += "\\\\"; break;
    case '\n': escaped += "\\n"; break;
    case '\r': escaped += "\\r"; break;
    case '\t': escaped += "\\t"; break;
    default: escaped += c;
    }
  }
  return escaped;
}

QByteArray DesktopEntry(const QString& type, const AnsiString& exePath)
{
  const QString name = QFileInfo(FileNameToQString(exePath)).completeBaseName();
  // NoDisplay: it opens files of its type but adds nothing to the application menus.
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         EscapeValue(name.toUtf8()) +
         "\n"
         "Exec=" +
         EscapeValue(QuoteExecArgument(exePath) + " %f") +
         "\n"
         "MimeType=" +
         type.toUtf8() +
         ";\n"
         "NoDisplay=true\n"
         "Terminal=false\n";
}

// True when it wrote; a file that already holds the content is left alone.
bool WriteIfChanged(const QString& path, const QByteArray& content)
{
  QFile current(path);
  if (current.size() == content.size() && current.open(QIODevice::ReadOnly) && current.readAll() == content)
    return false;
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

}  // namespace

void RegisterFileAssociation(const AnsiString& extension, const AnsiString& className,
                             const AnsiString& description, const AnsiString& exePath, const AnsiString& iconSvg)
{
  const QString base = TypeName(className);
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty() || dataHome.isEmpty())
    return;
  const QString type = QStringLiteral("application/x-") + base;
  const QString mime = dataHome + QStringLiteral("/mime");
  const QString packages = mime + QStringLiteral("/packages");
  const QString applications = dataHome + QStringLiteral("/applications");

  if (QDir().mkpath(packages) && WriteIfChanged(packages + QLatin1Char('/') + base + QStringLiteral(".xml"),
                                                MimePackage(type, ToQString(extension), ToQString(description))))
    RunDetached(QStringLiteral("update-mime-database"), {mime});
  if (QDir().mkpath(applications) &&
      WriteIfChanged(applications + QLatin1Char('/') + base + QStringLiteral(".desktop"),
                     DesktopEntry(type, exePath)))
    RunDetached(QStringLiteral("update-desktop-database"), {applications});
  // Desktops find a type's picture by the type's name with '-' for '/', no database needed.
  const QString icons = dataHome + QStringLiteral("/icons/hicolor/scalable/mimetypes");
  if (!iconSvg.empty() && QDir().mkpath(icons))
    WriteIfChanged(icons + QStringLiteral("/application-x-") + base + QStringLiteral(".svg"),
                   QByteArray(iconSvg.data(), static_cast<qsizetype>(iconSvg.size())));
}
