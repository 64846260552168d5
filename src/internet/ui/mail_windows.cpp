#include "internet/ui/mail_windows.h"
