// Names the kind of a file from its first bytes, for the debug output of a console run.
#pragma once

#include <string>

std::string DetectFileType(const std::string& path);
