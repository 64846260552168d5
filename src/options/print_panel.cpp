#include "options/print_panel.h"
