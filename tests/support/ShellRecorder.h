#pragma once
// The desktop's opener replaced, for as long as this lives, by a recorder first on PATH: every
// file the program hands to it is appended to a list, one name a line.
#include <QDir>
#include <QFile>

#include <string>
#include <vector>

#include "support/EnvScope.h"
#include "support/MainLoop.h"
#include "support/ScratchFolder.h"

class ShellRecorder {
public:
  ShellRecorder()
  {
    QDir().mkpath(QString::fromStdString(folder_ / "bin"));
    const std::string script =
        folder_.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + record_ + "'\n");
    QFile(QString::fromStdString(script)).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  }

  // The files opened so far, once there are at least `count` (or the wait gave up). The
  // opener runs detached: a test that expects nothing opened opens something afterwards and
  // counts that.
  std::vector<std::string> Opened(size_t count)
  {
    std::vector<std::string> files;
    RunLoopUntil([&] {
      files.clear();
      const std::string text = ScratchFolder::Read(record_);
      for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        files.push_back(text.substr(at, end - at));
      return files.size() >= count;
    });
    return files;
  }

private:
  ScratchFolder folder_;
  const std::string record_ = folder_ / "opened.txt";
  const std::string path_ = folder_ / "bin" + ":" + std::getenv("PATH");
  EnvScope pathScope_{"PATH", path_.c_str()};
};
