#pragma once
#include <cstdint>

#include "jump/history.h"

// Distinct entries of a typical length, like the tag-jump targets users type.
HistoryList SampleHistory(int64_t count);
