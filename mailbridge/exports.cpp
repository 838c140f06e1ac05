#include "mailbridge/osxmapi.h"
