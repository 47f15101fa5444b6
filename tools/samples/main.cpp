// vantle-samples DATA_DIR PROGRAM_DIR: writes the sample word books beside the program and
// checks each with the program's loader; exits with 1 when any fails.
#include <iostream>

#include "samples/samples.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vantle-samples DATA_DIR PROGRAM_DIR\n";
    return 2;
  }
  const base::Result<samples::Sources> sources = samples::ReadSources(argv[1]);
  const base::Result<> written =
      sources ? samples::WriteSamples(*sources, argv[2], std::cout) : sources.Failed();
  if (!written) {
    std::cerr << "vantle-samples: " << base::Describe(written.Failed()) << "\n";
    return 1;
  }
  return 0;
}
