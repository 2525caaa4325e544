// The message catalogues behind the alert system: the primary catalogue of
// the user's language and the English fallback, each a table of entries
// indexed by message number. Private to the two alert source files.
#pragma once

#include "alert.h"

// Finds the entry of a number: the primary catalogue first, then the
// fallback (loaded on the first miss). On success `out` is a copy whose text
// stays valid until a catalogue is replaced.
bool catalogue_find(unsigned number, alert_entry* out);

// Calls `fn` with every number that the primary catalogue holds as a warning.
void catalogue_each_warning(void (*fn)(unsigned number));

// Forgets both catalogues, the file names and the open file.
void catalogue_reset();

// Sets up the defaults on first use and searches for the catalogue until one
// is found.
void alert_ensure_init();

// Told by the catalogue loader that a primary catalogue is now in use.
void alert_note_catalogue_loaded();
