#include "params/settings_form.h"
