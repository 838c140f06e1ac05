#include "core/remote/mailport.h"
