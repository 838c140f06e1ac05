#include "reporting/layout/reportpages.h"
