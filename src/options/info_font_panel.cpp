#include "options/info_font_panel.h"
