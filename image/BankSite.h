#pragma once
#include <cstdint>

class cmcEeprom;

// The 512 channel rows fall into 128 banks and the 2560 repeater-pool rows into
// 128 sites (site n shares group record n with bank n). The rows of a bank or
// site follow those of the one before it, so a bank is known by its count alone.
// The counts come from files and radios and may add up to more rows than the
// tables hold: the first and last rows and the totals are clamped to the table,
// so whatever a caller indexes with them lies inside it. The counts themselves
// are given as stored. Banks and sites are one counted partition each, over
// the image a caller names.

bool IsValidBank(int32_t n);
int32_t GetBankChannelCount(const cmcEeprom& image, int32_t n);
// Stores the low 16 bits for a valid bank; returns the count read back.
int32_t SetBankChannelCount(cmcEeprom& image, int32_t n, int32_t value);
// The row of the bank's first channel: the counts of the banks before it, at most 512.
int32_t GetBankFirstChannel(const cmcEeprom& image, int32_t n);
// The row of the bank's last channel, at least 0 (an empty bank 0 gives 0) and at most 511.
int32_t GetBankLastChannel(const cmcEeprom& image, int32_t n);
// The rows of all banks, at most 512.
int32_t GetTotalBankChannels(const cmcEeprom& image);
// The bank holding the 1-based channel number c; 0 when no bank reaches it.
int32_t BankOfChannelNumber(const cmcEeprom& image, int32_t c);
// The bank whose rows, counted from row 0 bank after bank, take in row n
// (0-based; the counts as stored, not held to the table); 128 when none does.
int32_t BankHoldingRow(const cmcEeprom& image, int32_t n);

// The SmarTrunk and the LTR bank bitmaps: an invalid bank reads clear and is
// not written; the setters return the bit read back.
bool IsSmarTrunkBank(const cmcEeprom& image, int32_t n);
bool SetSmarTrunkBank(cmcEeprom& image, int32_t n, int32_t on);
bool IsBankFlagB(const cmcEeprom& image, int32_t n);
bool SetBankFlagB(cmcEeprom& image, int32_t n, int32_t on);

bool IsValidSite(int32_t n);
int32_t GetSiteChannelCount(const cmcEeprom& image, int32_t n);
int32_t GetSiteChannelCountAt(const cmcEeprom& image, int32_t n, int32_t ignored);
// Stores the low 8 bits for a valid site; returns the count read back.
int32_t SetSiteChannelCount(cmcEeprom& image, int32_t n, int32_t value);
// As for banks, over the site counts and the 2560 pool rows.
int32_t GetSiteFirstChannel(const cmcEeprom& image, int32_t n);
int32_t GetSiteLastChannel(const cmcEeprom& image, int32_t n);
int32_t GetTotalSiteChannels(const cmcEeprom& image);
// The site holding the 0-based pool entry i; 0 when no site does.
int32_t SiteOfPoolEntry(const cmcEeprom& image, int32_t i);
// The site that the open repeater sheet shows, asked over the event bus; 0
// when nobody answers.
int32_t GetCurrentSite();

// Four packed decimal digits in bytes 0..1, high nibble first; 65535 when a
// nibble is no digit.
int32_t BcdToInt(const uint8_t* bytes);
// Fills length bytes with 0xFF, then writes the last four decimal digits of
// value into bytes 0..1, as far as they lie within length.
void IntToBcd(int32_t value, uint8_t* bytes, int32_t length);
