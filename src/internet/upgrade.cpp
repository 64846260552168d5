#include "internet/upgrade.h"
