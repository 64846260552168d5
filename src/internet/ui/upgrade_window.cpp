#include "internet/ui/upgrade_window.h"
