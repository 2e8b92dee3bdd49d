#include "app/EntryPoint.h"

int main(int argc, char** argv)
{
  return RunDravolin(argc, argv, SingleInstanceSignature);
}
