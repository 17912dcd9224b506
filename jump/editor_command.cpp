#include "jump/editor_command.h"

namespace {
const char kCommandTail[] = "\" /h /x Wexmoor.imp";
}

std::string EditorCommandLine(const std::string& editorPath)
{
    return "\"" + editorPath + kCommandTail;
}
