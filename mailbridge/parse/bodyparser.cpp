#include "mailbridge/parse/bodyparser.h"
