#include "controls/browser_command.h"

#include "controls/dbcs_text.h"

std::optional<std::string> ComposeBrowserCommand(const std::string& registered, const std::string& target,
                                                 LeadByteTest isLeadByte)
{
    std::size_t cut = FindWholeCharacters(registered, "\"%1\"", isLeadByte);
    if (cut == std::string::npos)
        cut = FindWholeCharacters(registered, "%1", isLeadByte);
    std::string command = registered.substr(0, cut);
    command += ' ';
    command += target;
    if (command.size() >= kBrowserCommandBufferSize)
        return std::nullopt;
    return command;
}
