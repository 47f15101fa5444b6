// vantle-samples DATA_DIR PROGRAM_DIR: writes the sample word books beside the program and
// checks each with the program's loader; exits with 1 when any fails.
#include <iostream>

#include "samples/samples.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vantle-samples DATA_DIR PROGRAM_DIR\n";
    return 2;
  }
  samples::Sources sources;
  std::string error;
  if (!samples::ReadSources(argv[1], sources, error) ||
      !samples::WriteSamples(sources, argv[2], std::cout, error)) {
    std::cerr << "vantle-samples: " << error << "\n";
    return 1;
  }
  return 0;
}
