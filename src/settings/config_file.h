// config.ini: the settings kept between runs of the desktop program.
#pragma once

// Fills gSettings from the file at gSettings.ConfigPath: defaults for what it lacks, the
// desktop defaults of ResetSettings when it cannot be read, and older files' values brought
// up to date. Reports nothing.
void LoadSettings();
// Replaces that file with gSettings in one step; a file that cannot be written stays as it
// was, and nothing is reported.
void SaveSettings();
