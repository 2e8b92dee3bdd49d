#pragma once
// A fresh temporary folder for one test, removed with everything in it when the helper ends,
// also when the test failed half-way (a fixture member or local ends on every path out).
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
    // A test may have closed a folder or file to make a save fail: open all again first.
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
      if (!it->is_symlink(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
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
