#include "model/seed_source.h"
