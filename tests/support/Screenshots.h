#pragma once
// Pictures of window scenes for a reviewer's eye: <build>/screenshots/<folder>/<name>.png.
#include <QImage>
#include <filesystem>
#include <string>

inline std::filesystem::path ScreenshotFolder(const std::string& folder)
{
  // The test programs live in <build>/tests.
  const std::filesystem::path path =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "screenshots" / folder;
  std::filesystem::create_directories(path);
  return path;
}

inline void SaveScreenshot(const QImage& picture, const std::string& folder, const std::string& name)
{
  picture.save(QString::fromStdString((ScreenshotFolder(folder) / (name + ".png")).string()));
}
