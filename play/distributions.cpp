#include "play/distributions.h"
