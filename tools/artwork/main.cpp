// ombrix-artwork OUTPUT_DIR: draws the editor's six pictures into an existing folder. One clear
// line and a non-zero exit on failure; no partial picture is left behind.
#include "tools/artwork/artwork.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: ombrix-artwork OUTPUT_DIR\n");
    return 2;
  }
  std::string error;
  if (!kit::artwork::WriteArtwork(argv[1], kit::artwork::BuildFontPath(), error))
  {
    std::fprintf(stderr, "ombrix-artwork: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
