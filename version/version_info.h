#pragma once
// Shared by the code and the resource script, so the version box, its link and
// the executable's version record can never disagree.
#define WEXMOOR_VERSION_TEXT "1.20"
#define WEXMOOR_COPYRIGHT "Copyright (C) 2026 Halvergrim"
#define WEXMOOR_HOMEPAGE "https://brackenfold.example/wexmoor/"
