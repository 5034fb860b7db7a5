#include "model/teravo.h"
