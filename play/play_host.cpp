#include "play/play_host.h"
