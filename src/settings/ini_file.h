// The INI-style files: config.ini, profiles and language files.
#pragma once
