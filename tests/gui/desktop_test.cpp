// The desktop around the program: the file type and its entry, opening files, the clipboard.
#include "Clipbrd.h"
#include "CodePage.h"
#include "DesktopIntegration.h"
#include "Shell.h"
#include "support/ControlTest.h"
#include "support/EnvScope.h"
#include "support/ScratchFolder.h"

namespace {

// A scratch $XDG_DATA_HOME, and stand-ins for the desktop's tools first on PATH that record
// their arguments (NUL-separated) in log/<tool>.args.
class DesktopTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    for (const char* folder : {"data", "bin", "log"})
      ASSERT_TRUE(QDir().mkpath(Q(scratch / folder)));
    for (const char* tool : {"update-mime-database", "update-desktop-database", "xdg-open"}) {
      const std::string args = scratch / (std::string("log/") + tool);
      const std::string script =
          scratch.Write(std::string("bin/") + tool, "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + args +
                                                        ".part' && mv '" + args + ".part' '" + args + ".args'\n");
      QFile(Q(script)).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
  }
  static QString Q(const std::string& path) { return QFile::decodeName(path.c_str()); }
  // The arguments a stand-in tool was started with, once it has run; the record is taken away.
  std::optional<QStringList> ToolArguments(const char* tool)
  {
    QFile file(Q(scratch / (std::string("log/") + tool + ".args")));
    if (!RunLoopUntil([&] { return file.exists(); }) || !file.open(QIODevice::ReadOnly))
      return std::nullopt;
    QStringList arguments;
    for (const QByteArray& argument : file.readAll().split('\0'))
      arguments << QFile::decodeName(argument);
    arguments.removeLast();  // after the last NUL
    file.remove();
    return arguments;
  }
  void Register(const AnsiString& exe) { RegisterFileAssociation(".qel", "QELExt", Description, exe); }

  ScratchFolder scratch;
  const std::string data = scratch / "data";
  const std::string package = data + "/mime/packages/qelext.xml";
  const std::string entry = data + "/applications/qelext.desktop";
  EnvScope dataHome{"XDG_DATA_HOME", data.c_str()};
  const std::string path = scratch / "bin" + ":" + std::getenv("PATH");
  EnvScope pathScope{"PATH", path.c_str()};
  DisplayCodePageScope codePage{1251};
  // "Журнал" in 1251, with characters that mean something in XML.
  const AnsiString Description = "Dravolin C, analiz file-diagnostic & <\xC6\xF3\xF0\xED\xE0\xEB>";
};

TEST_F(DesktopTest, WritesTheTypeAndTheEntryAndRefreshesTheDatabases)
{
  Register("/opt/my tools/dra\"vo$lin`x\\y%z");
  QXmlStreamReader xml(QByteArray::fromStdString(ScratchFolder::Read(package)));
  QString dump;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != QLatin1String("mime-info"))
      dump += xml.name().toString() + "[" + xml.attributes().value("type").toString() +
              xml.attributes().value("pattern").toString() + "] " +
              (xml.name() == QLatin1String("comment") ? xml.readElementText() : QString());
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(dump, QString::fromUtf8("mime-type[application/x-qelext] comment[] Dravolin C, analiz "
                                    "file-diagnostic & <Журнал>sub-class-of[text/plain] glob[*.qel] "));
  // In quotes '"', '`', '$' and '\' take a backslash and '%' doubles; then every backslash of
  // the value doubles once more, as the desktop-entry format escapes all its strings.
  EXPECT_EQ(ScratchFolder::Read(entry), "[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=dra\"vo$lin`x\\\\y%z\n"
                                        "Exec=\"/opt/my tools/dra\\\\\"vo\\\\$lin\\\\`x\\\\\\\\y%%z\" %f\n"
                                        "MimeType=application/x-qelext;\n"
                                        "NoDisplay=true\n"
                                        "Terminal=false\n");
  EXPECT_EQ(ToolArguments("update-mime-database"), QStringList{Q(data + "/mime")});
  EXPECT_EQ(ToolArguments("update-desktop-database"), QStringList{Q(data + "/applications")});
}

TEST_F(DesktopTest, FilesAreRewrittenOnlyWhenTheirContentDiffers)
{
  // Each write is followed by its tool; the test waits for it, so that none still runs when
  // the folder goes away.
  Register("/usr/bin/dravolin");
  ASSERT_TRUE(ToolArguments("update-mime-database").has_value());
  ASSERT_TRUE(ToolArguments("update-desktop-database").has_value());
  const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
  const auto age = [&](const std::string& name) {
    QFile file(Q(name));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
  };
  const auto aged = [&](const std::string& name) { return QFileInfo(Q(name)).lastModified() == old; };
  age(package);
  age(entry);
  Register("/usr/bin/dravolin");
  EXPECT_TRUE(aged(package) && aged(entry));
  Register("/usr/local/bin/dravolin");  // the program moved: only the entry changes
  EXPECT_TRUE(ToolArguments("update-desktop-database").has_value());
  EXPECT_TRUE(aged(package));
  EXPECT_FALSE(aged(entry));
  const std::string written = ScratchFolder::Read(package);  // a package edited by hand is put back
  scratch.Write("data/mime/packages/qelext.xml", "<edited/>");
  Register("/usr/local/bin/dravolin");
  EXPECT_TRUE(ToolArguments("update-mime-database").has_value());
  EXPECT_EQ(ScratchFolder::Read(package), written);
}

TEST_F(DesktopTest, ShellOpenHandsTheAbsolutePathOverAsOneArgumentWithoutAShell)
{
  // Were it read by a shell, the name would split at the blanks and create a file.
  const std::string trap = scratch / "trap";
  const AnsiString name = "/tmp/a dir/r\xC3\xA9port \"q\" $(touch " + trap + ") `x`; y.txt";
  ShellOpen(name);
  EXPECT_EQ(ToolArguments("xdg-open"), QStringList{FileNameToQString(name)});
  EXPECT_FALSE(QFileInfo::exists(Q(trap)));
  ShellOpen("-report.txt");  // relative: made absolute, so it cannot read as an option
  EXPECT_EQ(ToolArguments("xdg-open"), QStringList{QDir::currentPath() + "/-report.txt"});
}

TEST_F(DesktopTest, ClipboardTextComesInTheAnsiCodePageAndAFileNameAsTheFileSystemsBytes)
{
  // Cyrillic, umlauts and the euro sign fit no single code page; a character outside the basic
  // plane (a surrogate pair in Qt) is one character, so one "?".
  const char* text = "/tmp/Отчёт Müller/€ 日 \xF0\x9F\x98\x80.qel\n";
  QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
  for (auto [locale, expected] : {std::pair{"ru_RU.UTF-8", "/tmp/\xCE\xF2\xF7\xB8\xF2 M?ller/\x88 ? ?.qel\n"},
                                  std::pair{"de_DE.UTF-8", "/tmp/????? M\xFCller/\x80 ? ?.qel\n"}}) {
    EnvScope scope("LC_ALL", locale);
    EXPECT_EQ(ClipboardText() + ClipboardFileName(), expected + std::string(text)) << locale;
  }
  // A URL names the file by its bytes, UTF-8 or not, as a URL list or as typed text.
  for (const char* url : {"file:///tmp/caf%E9%20%25.qel", "  file://localhost/tmp/caf%E9%20%25.qel\n"}) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(url));
    EXPECT_EQ(ClipboardFileName(), "/tmp/caf\xE9 %.qel") << url;
  }
  auto* list = new QMimeData;
  list->setUrls({QUrl::fromEncoded("file:///tmp/%D0%B0%FF.qel"), QUrl::fromEncoded("file:///tmp/b.qel")});
  QGuiApplication::clipboard()->setMimeData(list);
  EXPECT_EQ(ClipboardFileName(), "/tmp/\xD0\xB0\xFF.qel");
  auto* picture = new QMimeData;  // a picture alone is no text
  picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
  QGuiApplication::clipboard()->setMimeData(picture);
  EXPECT_EQ(ClipboardText() + ClipboardFileName(), "");
}

}  // namespace
