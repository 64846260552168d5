#include "platform/qt/smtp_client.h"
