#include "jump/in_place_rule.h"

namespace {
// The Windows error codes, spelled out so that the rule builds and is tested
// without windows.h.
const uint32_t kAccessDenied = 5;
const uint32_t kSharingViolation = 32;
const uint32_t kLockViolation = 33;
}  // namespace

bool MayWriteInPlace(SaveStep failedStep, uint32_t error)
{
    switch (failedStep) {
    case SaveStep::MakingTheTemporaryFile:
        // The folder refuses new files (or a folder stands in the temporary
        // file's place), or a temporary file left by an earlier save is held
        // by another program: the history file itself may still be writable.
        return error == kAccessDenied || error == kSharingViolation;
    case SaveStep::MovingItOverTheOldFile:
        // Another program holds the history open; if it shares writing, the
        // file can still be written.
        return error == kAccessDenied || error == kSharingViolation || error == kLockViolation;
    }
    return false;
}
