#include "model/random_source.h"
