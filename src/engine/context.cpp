// The one ConversionContext of the process.
#include "context.h"

ConversionContext gContext;
