#include "play/play_record.h"
