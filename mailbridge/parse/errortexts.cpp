#include "mailbridge/parse/errortexts.h"
