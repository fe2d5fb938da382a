// The INI-style files: config.ini, profiles and language files.
#include "ini_file.h"
