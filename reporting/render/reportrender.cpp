#include "reporting/render/reportrender.h"
