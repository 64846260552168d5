#include "options/skins_panel.h"
