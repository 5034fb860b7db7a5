#include "params/acceptance.h"
