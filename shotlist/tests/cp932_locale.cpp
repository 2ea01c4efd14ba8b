#include "cp932_locale.h"

namespace {

bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool NoLeadBytes(unsigned char) { return false; }

}  // namespace

TextLocale JapaneseLocale() { return {IsCp932LeadByte, kLanguageJapanese}; }
TextLocale WesternLocale() { return {NoLeadBytes, 0x0409}; }
