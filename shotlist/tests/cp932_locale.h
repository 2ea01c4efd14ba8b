// Text settings of a Japanese system (code page 932) and of a Western one.
#pragma once

#include "list_text.h"

TextLocale JapaneseLocale();
TextLocale WesternLocale();
