#include "play/chart_series.h"
