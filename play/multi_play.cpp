#include "play/multi_play.h"
