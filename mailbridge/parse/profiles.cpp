#include "mailbridge/parse/profiles.h"
