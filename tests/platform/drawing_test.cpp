// Drawing canvases, the path text of the frame, and text drawing.
#include <gtest/gtest.h>
