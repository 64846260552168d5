#include "options/options_window.h"
