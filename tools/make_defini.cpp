// make_defini <output>: writes the built-in default settings "defini" as the program's first
// start makes them, with the program's own settings writer, so the resource always matches
// the code. Run by the build; the program embeds the file it writes.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "AppPaths.h"
#include "Forms.h"
#include "app/Qelunit.h"

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_defini <output file>\n");
    return 2;
  }
  // The central object owns controls, which need the application; no display is used.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);

  // An empty data folder of its own: no settings file or dictionary files of the build
  // machine get in, and the settings the object writes when it ends are thrown away.
  std::string folder = (std::filesystem::temp_directory_path() / "make-defini-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    std::perror("make_defini: temporary folder");
    return 1;
  }
  SetDataFolderForTests(folder);

  bool written = false;
  {
    BQELunit unit;
    // With no settings file and no "defini" linked in, the constructor made these already;
    // made again after it, so that what the constructor does to the options after reading
    // them (the language of the machine, say) never reaches the output.
    unit.MakeDefaultSettings();
    written = unit.SaveSettingsFile(argv[1]);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (!written) {
    std::fprintf(stderr, "make_defini: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
