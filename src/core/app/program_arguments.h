#pragma once

#include <string>
#include <vector>

namespace sw48230 {

// The arguments the program was started with, after its own name, as UTF-8
// texts. On Windows `argv` holds them in the ANSI code page, which cannot
// hold every folder name (and is not UTF-8), so they are taken from the wide
// command line instead; elsewhere they are `argv` as it is.
std::vector<std::string> Program_Arguments(int argc, char** argv);

}  // namespace sw48230
