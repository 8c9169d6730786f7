#include "app/shell.h"

int main(int argc, char** argv) {
  return vtrak::RunShell(argc, argv);
}
