#include "AppPaths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CommandLine.h"

namespace {

AnsiString& DataFolderOverride()
{
  static AnsiString folder;
  return folder;
}

AnsiString WithSlash(AnsiString folder)
{
  if (folder.empty() || folder.back() != '/')
    folder += '/';
  return folder;
}

// mkdir -p; failures show up later when a file is written there.
void MakeFolders(const AnsiString& folder)
{
  for (size_t at = 1; at <= folder.size(); ++at) {
    if (at == folder.size() || folder[at] == '/') {
      const AnsiString part = folder.substr(0, at);
      if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
        return;
    }
  }
}

}  // namespace

AnsiString HomeFolder()
{
  const char* home = std::getenv("HOME");
  if (home && *home)
    return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
    return pw->pw_dir;
  return "/tmp";
}

AnsiString ProgramFolder()
{
  const AnsiString exe = ExeName();
  return exe.substr(0, exe.rfind('/') + 1);
}

AnsiString DataFolderFor(const AnsiString& programFolder)
{
  if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK) == 0)
    return WithSlash(programFolder);
  // XDG wants an absolute path here; anything else is ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const AnsiString base = (xdg && xdg[0] == '/') ? AnsiString(xdg) : HomeFolder() + "/.config";
  const AnsiString folder = WithSlash(base) + "dravolin/";
  MakeFolders(folder);
  return folder;
}

AnsiString SaveFolderFor(const AnsiString& programFolder)
{
  if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK) == 0)
    return WithSlash(programFolder);
  return WithSlash(HomeFolder());
}

AnsiString SaveFolder()
{
  return SaveFolderFor(ProgramFolder());
}

AnsiString DataFolder()
{
  const AnsiString& forced = DataFolderOverride();
  return forced.empty() ? DataFolderFor(ProgramFolder()) : forced;
}

void SetDataFolderForTests(const AnsiString& folder)
{
  DataFolderOverride() = folder.empty() ? AnsiString() : WithSlash(folder);
}
