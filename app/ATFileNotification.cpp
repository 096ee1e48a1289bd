#include "ATFileNotification.h"
