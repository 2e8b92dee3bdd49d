#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cstdlib>
#include <optional>
#include <string>

#include "DesktopIntegration.h"
#include "Shell.h"
#include "TextBoundary.h"
#include "support/GuiTest.h"

namespace {

class EnvScope {
public:
  EnvScope(const char* name, const QByteArray& value) : name_(name)
  {
    if (const char* old = std::getenv(name))
      saved_ = old;
    setenv(name, value.constData(), 1);
  }
  ~EnvScope()
  {
    if (saved_)
      setenv(name_, saved_->c_str(), 1);
    else
      unsetenv(name_);
  }

private:
  const char* name_;
  std::optional<std::string> saved_;
};

// A temporary $XDG_DATA_HOME, and stand-ins for the desktop's tools first on PATH that record
// their arguments (NUL-separated) in <log>/<tool>.args.
class DesktopTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    ASSERT_TRUE(temp.isValid());
    data = temp.filePath(QStringLiteral("data"));
    bin = temp.filePath(QStringLiteral("bin"));
    log = temp.filePath(QStringLiteral("log"));
    ASSERT_TRUE(QDir().mkpath(data) && QDir().mkpath(bin) && QDir().mkpath(log));
    for (const char* tool : {"update-mime-database", "update-desktop-database", "xdg-open"})
      AddTool(QString::fromLatin1(tool));
    systemPath = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    dataHome.emplace("XDG_DATA_HOME", QFile::encodeName(data));
    path.emplace("PATH", QFile::encodeName(bin) + ":" + qgetenv("PATH"));
    savedCodePage = DisplayCodePage();
    SetDisplayCodePage(1251);
  }

  void TearDown() override
  {
    SetDisplayCodePage(savedCodePage);
    path.reset();
    dataHome.reset();
    GuiTest::TearDown();
  }

  void AddTool(const QString& name)
  {
    QFile script(bin + QLatin1Char('/') + name);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    const QString logFile = log + QLatin1Char('/') + name + QStringLiteral(".args");
    script.write("#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + QFile::encodeName(logFile) + ".part' && mv '" +
                 QFile::encodeName(logFile) + ".part' '" + QFile::encodeName(logFile) + "'\n");
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }

  // The arguments a stand-in tool was started with, once it has run.
  std::optional<QStringList> ToolArguments(const char* tool)
  {
    QFile file(log + QLatin1Char('/') + QLatin1String(tool) + QStringLiteral(".args"));
    if (!RunLoopUntil([&] { return file.exists(); }) || !file.open(QIODevice::ReadOnly))
      return std::nullopt;
    QStringList arguments;
    for (const QByteArray& argument : file.readAll().split('\0'))
      arguments << QFile::decodeName(argument);
    arguments.removeLast();  // after the last NUL
    return arguments;
  }

  static QByteArray Read(const QString& file)
  {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QString Package() const { return data + QStringLiteral("/mime/packages/qelext.xml"); }
  QString Entry() const { return data + QStringLiteral("/applications/qelext.desktop"); }

  QTemporaryDir temp;
  QString data, bin, log;
  QStringList systemPath;  // without the stand-ins
  std::optional<EnvScope> dataHome, path;
  int savedCodePage = 1251;
};

// "Журнал" in 1251, with characters that mean something in XML.
const AnsiString kDescription = "Dravolin C, analiz file-diagnostic & <\xC6\xF3\xF0\xED\xE0\xEB>";
const AnsiString kExe = "/opt/my tools/dra\"vo$lin`x\\y%z";

TEST_F(DesktopTest, WritesTheTypeAndTheEntryAndRefreshesTheDatabases)
{
  RegisterFileAssociation(".qel", "QELExt", kDescription, kExe);

  QXmlStreamReader xml(Read(Package()));
  QString type, comment, glob, parent;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement)
      continue;
    if (xml.name() == QLatin1String("mime-type"))
      type = xml.attributes().value(QLatin1String("type")).toString();
    else if (xml.name() == QLatin1String("comment"))
      comment = xml.readElementText();
    else if (xml.name() == QLatin1String("glob"))
      glob = xml.attributes().value(QLatin1String("pattern")).toString();
    else if (xml.name() == QLatin1String("sub-class-of"))
      parent = xml.attributes().value(QLatin1String("type")).toString();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(type, QStringLiteral("application/x-qelext"));
  EXPECT_EQ(comment, QString::fromUtf8("Dravolin C, analiz file-diagnostic & <Журнал>"));
  EXPECT_EQ(glob, QStringLiteral("*.qel"));
  EXPECT_EQ(parent, QStringLiteral("text/plain"));

  // In quotes '"', '`', '$' and '\' take a backslash and '%' doubles; then every backslash of
  // the value doubles once more, as the desktop-entry format escapes all its strings.
  EXPECT_EQ(Read(Entry()), "[Desktop Entry]\n"
                           "Type=Application\n"
                           "Name=dra\"vo$lin`x\\\\y%z\n"
                           "Exec=\"/opt/my tools/dra\\\\\"vo\\\\$lin\\\\`x\\\\\\\\y%%z\" %f\n"
                           "MimeType=application/x-qelext;\n"
                           "NoDisplay=true\n"
                           "Terminal=false\n");

  EXPECT_EQ(ToolArguments("update-mime-database"), QStringList{data + QStringLiteral("/mime")});
  EXPECT_EQ(ToolArguments("update-desktop-database"), QStringList{data + QStringLiteral("/applications")});
}

TEST_F(DesktopTest, FilesAreRewrittenOnlyWhenTheirContentDiffers)
{
  // Each write is followed by its tool; the test waits for it, so no tool is still running
  // when the folder goes away.
  const auto toolRan = [&](const char* tool) {
    const bool ran = ToolArguments(tool).has_value();
    QFile::remove(log + QLatin1Char('/') + QLatin1String(tool) + QStringLiteral(".args"));
    return ran;
  };
  RegisterFileAssociation(".qel", "QELExt", kDescription, kExe);
  ASSERT_TRUE(toolRan("update-mime-database"));
  ASSERT_TRUE(toolRan("update-desktop-database"));
  const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
  const auto age = [&](const QString& name) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
  };
  const auto modified = [](const QString& name) { return QFileInfo(name).lastModified(); };
  age(Package());
  age(Entry());

  RegisterFileAssociation(".qel", "QELExt", kDescription, kExe);
  EXPECT_EQ(modified(Package()), old);
  EXPECT_EQ(modified(Entry()), old);

  // The program moved: only the entry changes.
  RegisterFileAssociation(".qel", "QELExt", kDescription, "/usr/local/bin/dravolin");
  EXPECT_TRUE(toolRan("update-desktop-database"));
  EXPECT_EQ(modified(Package()), old);
  EXPECT_NE(modified(Entry()), old);
  EXPECT_TRUE(Read(Entry()).contains("\nExec=\"/usr/local/bin/dravolin\" %f\n"));

  // A package edited by hand is put back.
  const QByteArray written = Read(Package());
  {
    QFile file(Package());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(written).replace("*.qel", "*.xyz"));
  }
  RegisterFileAssociation(".qel", "QELExt", kDescription, "/usr/local/bin/dravolin");
  EXPECT_TRUE(toolRan("update-mime-database"));
  EXPECT_EQ(Read(Package()), written);
}

TEST_F(DesktopTest, FailuresAreSilent)
{
  // The data folder is a file: nothing can be created below it.
  const QString blocked = temp.filePath(QStringLiteral("plain file"));
  {
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  EnvScope home("XDG_DATA_HOME", QFile::encodeName(blocked));
  EXPECT_NO_THROW(RegisterFileAssociation(".qel", "QELExt", kDescription, kExe));
  EXPECT_TRUE(QFileInfo(blocked).isFile());
}

TEST_F(DesktopTest, TheRealMimeToolAcceptsThePackage)
{
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"), systemPath);
  if (tool.isEmpty())
    GTEST_SKIP() << "update-mime-database is not installed";
  RegisterFileAssociation(".qel", "QELExt", kDescription, kExe);
  ASSERT_TRUE(ToolArguments("update-mime-database").has_value());  // the stand-in, done
  ASSERT_TRUE(ToolArguments("update-desktop-database").has_value());
  QProcess update;
  update.start(tool, {data + QStringLiteral("/mime")});
  ASSERT_TRUE(update.waitForFinished(30000));
  EXPECT_EQ(update.exitCode(), 0) << update.readAllStandardError().toStdString();
  EXPECT_TRUE(Read(data + QStringLiteral("/mime/globs2")).contains(":application/x-qelext:*.qel"));
}

TEST_F(DesktopTest, ShellOpenHandsThePathOverAsOneArgumentWithoutAShell)
{
  // Were it read by a shell, the name would split at the blanks and create a file.
  const QString trap = log + QStringLiteral("/trap");
  const AnsiString name = "/tmp/a dir/r\xC3\xA9port \"q\" $(touch " + QStringToFileName(trap) + ") `x`; y.txt";
  ShellOpen(name);
  EXPECT_EQ(ToolArguments("xdg-open"), QStringList{FileNameToQString(name)});
  EXPECT_FALSE(QFileInfo::exists(trap));

  QFile::remove(log + QStringLiteral("/xdg-open.args"));
  ShellOpen("-report.txt");  // relative: made absolute, so it cannot read as an option
  EXPECT_EQ(ToolArguments("xdg-open"), QStringList{QDir::currentPath() + QStringLiteral("/-report.txt")});
}

}  // namespace
