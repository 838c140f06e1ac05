#include "mailbridge/layer/maillayer.h"
