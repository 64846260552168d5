#include "internet/ui/skin_download_window.h"
