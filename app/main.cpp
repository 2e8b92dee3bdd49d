#include <cstdio>

int main()
{
  std::puts("Dravolin: the main window is not available yet in this build.");
  return 0;
}
