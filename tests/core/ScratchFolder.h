#pragma once
// A fresh temporary folder for one test, removed with everything in it afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

class ScratchFolder {
public:
  ScratchFolder()
  {
    std::string templ = (std::filesystem::temp_directory_path() / "dravolin-test-XXXXXX").string();
    if (!::mkdtemp(templ.data()))
      throw std::runtime_error("mkdtemp failed");
    path_ = templ;
  }
  ~ScratchFolder()
  {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, without a trailing '/'.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Writes a file of the given bytes and returns its full name.
  std::string Write(const std::string& name, const std::string& bytes) const
  {
    const std::string full = *this / name;
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
  }

  static std::string Read(const std::string& fileName)
  {
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

private:
  std::string path_;
};
