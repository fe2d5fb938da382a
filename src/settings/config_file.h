// config.ini: the settings kept between runs of the desktop program.
#pragma once

void LoadSettings();
void SaveSettings();
