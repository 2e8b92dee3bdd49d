// Every test program and fuzz target that shows text loads the font database, and fontconfig
// leaks a block while it parses its configuration: the system library's, not ours; leak checks skip it.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libfontconfig.so\n";
}
