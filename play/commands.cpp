#include "play/commands.h"
