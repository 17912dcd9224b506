#pragma once
// Shared by the code and the resource script, so that the version box, its
// link and the version record's texts agree. Two more places state the
// version and change with it: the version record's FILEVERSION and
// PRODUCTVERSION numbers (res/wexmoor.rc) and project() in CMakeLists.txt,
// which names the release package.
#define WEXMOOR_VERSION_TEXT "1.20"
#define WEXMOOR_COPYRIGHT "Copyright (C) 2026 Halvergrim"
#define WEXMOOR_HOMEPAGE "https://brackenfold.example/wexmoor/"
