#include "reporting/layout/invoice.h"
