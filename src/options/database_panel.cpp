#include "options/database_panel.h"
