// Appending to the journal, for the control objects.
#pragma once

#include "sigplus/journal.h"

namespace sigplus {

void appendJournal(JournalEntry entry);

}  // namespace sigplus
