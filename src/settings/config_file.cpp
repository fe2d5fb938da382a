// config.ini: the settings kept between runs of the desktop program.
#include "config_file.h"

void LoadSettings() {}
void SaveSettings() {}
