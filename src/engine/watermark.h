// The watermark font, loaded once by the starter of a run and released after it.
#pragma once

// Loads the font the watermark settings name into the conversion context; false when it
// cannot be loaded (the run must not start then).
bool LoadWatermarkFont();
void ReleaseWatermarkFont();
