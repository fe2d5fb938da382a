// The watermark: its text, its layers, where it lands.
#include <gtest/gtest.h>
