// The system's own text settings and warning box for the list file code.
#pragma once

#include "list_file.h"

// ANSI code page lead-byte test and system default language of this system.
TextLocale SystemTextLocale();

// System text settings with warnings shown as message boxes without owner.
ListContext SystemListContext();
