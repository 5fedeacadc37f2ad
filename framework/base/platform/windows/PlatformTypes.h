// On Windows the base types come from the system headers themselves.
#pragma once

#include <windows.h>
