// lumaport: converts Radiance HDR images to 23 output formats.
#include "startup.h"

int main(int argc, char** argv) {
  return RunProgram(argc, argv);
}
