#include "controls/browser_command.h"

#include "controls/cp932_search.h"

std::optional<std::string> ComposeBrowserCommand(const std::string& registered,
                                                 const std::string& target)
{
    std::size_t cut = FindCp932(registered, "\"%1\"");
    if (cut == std::string::npos)
        cut = FindCp932(registered, "%1");
    std::string command = registered.substr(0, cut);
    command += ' ';
    command += target;
    if (command.size() >= kBrowserCommandBufferSize)
        return std::nullopt;
    return command;
}
