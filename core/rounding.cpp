#include "core/rounding.h"
