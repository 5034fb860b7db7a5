#include "params/run_description.h"
