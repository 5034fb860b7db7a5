#include "play/play_driver.h"
