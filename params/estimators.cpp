#include "params/estimators.h"
