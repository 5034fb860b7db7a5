#include "core/general_error.h"
