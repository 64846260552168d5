#include "profiles/shortcut_file.h"
