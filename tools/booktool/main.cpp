// vantle-book: checks, shows and makes word books with the program's own loader.
#include <iostream>

#include "booktool/tool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return booktool::RunBookTool(args, std::cout, std::cerr);
}
