#include "internet/mail_message.h"
